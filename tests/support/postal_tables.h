// The bytes of the two postal code tables the native build makes with
// scripts/postal_data.py: the one of the small fixture in
// tests/postal/postal_fixture and the real one (empty when the build could
// not fetch the package).
#pragma once

#include <fstream>
#include <iterator>
#include <string>

inline std::string host_file_bytes(const char* path) {
    std::ifstream f(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

inline const std::string& postal_fixture_table() {
    static const std::string bytes = host_file_bytes(ZK_POSTAL_FIXTURE_TABLE);
    return bytes;
}

inline const std::string& real_postal_table() {
    static const std::string bytes = host_file_bytes(ZK_POSTAL_TABLE);
    return bytes;
}
