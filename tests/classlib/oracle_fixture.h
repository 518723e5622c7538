// Reads tests/fixtures/data_streams_oracle.txt, the output of tests/oracle/DataStreamsOracle.java:
// "case NAME HEX" lines into `cases`, the "archive HEX" line into `archive` (raw bytes).
#pragma once

#include <fstream>
#include <map>
#include <sstream>
#include <string>

struct DataStreamsOracle {
    std::map<std::string, std::string> cases;  // name -> bytes
    std::string archive;

    static std::string unhex(const std::string& hex) {
        std::string out;
        if (hex == "-") return out;
        for (size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
        return out;
    }

    static DataStreamsOracle load() {
        DataStreamsOracle o;
        std::ifstream in(std::string(BRINDLEX_FIXTURES) + "/data_streams_oracle.txt");
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream words(line);
            std::string kind, name, hex;
            words >> kind;
            if (kind == "case") {
                words >> name >> hex;
                o.cases[name] = unhex(hex);
            } else if (kind == "archive") {
                words >> hex;
                o.archive = unhex(hex);
            }
        }
        return o;
    }
};
