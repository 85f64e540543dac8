// JobError: how a job on one programmer ends early: the exit status it stands for and a one-line
// English message for the user. Thrown by the connection and the device steps, caught once per
// programmer by the job runner, which reports it and goes on with the other programmers.
// Qt-free.
#pragma once

#include <stdexcept>
#include <string>

#include "production/ExitStatus.h"

namespace vortana {

class JobError : public std::runtime_error {
  public:
    JobError(ExitStatus status, const std::string& message)
        : std::runtime_error(message), status_(status) {}
    ExitStatus Status() const { return status_; }

  private:
    ExitStatus status_;
};

}  // namespace vortana
