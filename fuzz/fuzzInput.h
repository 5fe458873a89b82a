// Splits a fuzz input into its parts at "\n--\n", so one input feeds several readers or builders
// and a seed stays readable as a text file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::string> fuzzParts(const uint8_t* data, size_t size, size_t count) {
    std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts(count);
    size_t start = 0;
    for (size_t i = 0; i < count && start <= input.size(); ++i) {
        size_t end = i + 1 == count ? input.size() : input.find("\n--\n", start);
        if (end == std::string::npos) end = input.size();
        parts[i] = input.substr(start, end - start);
        start = end + 4;
    }
    return parts;
}
