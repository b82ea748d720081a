#pragma once

#include <fstream>
#include <string>

// The process's resident memory in KiB, from /proc/self/status.
inline long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(256, '\n');
    }
    return 0;
}
