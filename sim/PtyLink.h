// A symbolic link to the simulator's line, for as long as this object lives, so that the front
// end can be given a fixed name. It is made beside its path and renamed over it, so the path
// never names a half-made link, and an older link there is replaced. On destruction it is
// removed, unless someone has meanwhile pointed the path elsewhere.
//
// Errors: the constructor throws SimError naming the path and the reason.
// Qt-free; one thread.
#pragma once

#include <string>

namespace vortana::sim {

class PtyLink {
  public:
    PtyLink(std::string path, std::string target);
    ~PtyLink();
    PtyLink(const PtyLink&) = delete;
    PtyLink& operator=(const PtyLink&) = delete;

  private:
    std::string path_;
    std::string target_;
};

}  // namespace vortana::sim
