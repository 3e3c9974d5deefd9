// Files and measurements shared by the audio tests.
#pragma once
#include <string>
#include <vector>

// A fresh directory under /tmp, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string Write(const std::string& name, const std::vector<unsigned char>& bytes) const;

private:
    std::string path_;
};

// 16-bit PCM of a 440 Hz sine at about half of full scale.
std::vector<unsigned char> SineSamples16(int channels, int hertz, double seconds);

// An Ogg Vorbis file of that sine made with oggenc; "" when it cannot be made.
std::string MakeOgg(const TempDir& dir, const std::string& name, int channels, int hertz, double seconds);

// Root mean square of little-endian 16-bit samples.
double Rms16(const std::vector<unsigned char>& bytes);
