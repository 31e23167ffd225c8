#pragma once

/// `ports`: the serial ports the system knows, as text lines or one JSON array; the exit code.
int listPorts(bool json);
