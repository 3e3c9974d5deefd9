// Image files for the graphics tests, in temporary folders removed at exit.
#pragma once
#include <string>

// Writes an 8-bit PNG with the given channel count; returns its path.
std::string WriteTestPng(const std::string& name, int width, int height, int channels,
                         const unsigned char* pixels);
// A fresh directory for one test's files.
std::string TestTempDir();
