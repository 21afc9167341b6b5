#pragma once
#include <string>

// Starts program with one argument, detached from the calling process: nothing waits for the program
// and it never becomes a zombie of the host. False when it could not be started.
bool launchDetached(const std::string& program, const std::string& argument);
