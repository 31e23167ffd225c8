#pragma once

/// What tiltlink-cli tells its caller; with several ports the worst (highest) wins.
namespace ExitCode {
enum : int {
    Done = 0,
    Failed = 1, // the device refused, did not answer, or a check did not match
    Usage = 2, // the command line is wrong; nothing was sent
    PortError = 3 // the port could not be opened or was lost
};
}
