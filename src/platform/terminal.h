#pragma once

// Whether standard input is a terminal (a person typing) rather than a pipe or a file.
namespace terminal {
bool standardInputIsTerminal();
} // namespace terminal
