#pragma once

namespace glintbox {

// The file's size against the maximum file size in tenths, rounded half to
// even and never above 10: any file over the maximum is simply "full", however
// large it is and even when the maximum is 0. An empty file is level 0.
int sizeLevel(double fileSize, double maximumFileSize);

// Files strictly larger than the maximum are not loaded.
inline bool isAboveMaximum(double fileSize, double maximumFileSize)
{
    return fileSize > maximumFileSize;
}

} // namespace glintbox
