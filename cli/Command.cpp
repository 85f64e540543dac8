#include "cli/Command.h"

namespace vortana::cli {
namespace {

constexpr double kDefaultTimeoutSeconds = 120;  // the window's time-out
constexpr double kDefaultLateWaitSeconds = 10;

}  // namespace

std::chrono::milliseconds StepTimeout(const Options& options) {
    return SecondsOption(options, "--timeout", kDefaultTimeoutSeconds);
}

std::chrono::milliseconds LateWait(const Options& options) {
    return SecondsOption(options, "--late-wait", kDefaultLateWaitSeconds, ZeroSeconds::Allowed);
}

Invocation WithOptions(const Invocation& invocation, const Options& options) {
    return {
        .options = options,
        .operands = invocation.operands,
        .ports = options.Values("--port"),
        .catalogue = invocation.catalogue,
        .timeout = StepTimeout(options),
        .lateWait = LateWait(options),
        .json = invocation.json,
        .quiet = invocation.quiet,
        .terminal = invocation.terminal,
        .portRoots = invocation.portRoots,
        .in = invocation.in,
        .out = invocation.out,
        .err = invocation.err,
    };
}

}  // namespace vortana::cli
