// Test helper: a copy of a data.bar with some entries replaced or dropped, and the text pack of a
// language cut to its first texts. For the tests that feed the program damaged data files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_index.h"
#include "tools/bar_writer.h"
#include "tools/file_bytes.h"
#include "tools/pack_writer.h"

// Entry name -> new bytes, or nullopt to drop the entry.
using DataBarEdits = std::map<std::string, std::optional<std::string>>;

inline void writeDataBarVariant(const std::filesystem::path& from, const std::filesystem::path& to,
                                const DataBarEdits& edits) {
    std::string archive, error;
    ASSERT_TRUE(tools::readFileBytes(from, archive, error)) << error;
    std::vector<archive::IndexEntry> index;
    ASSERT_TRUE(archive::readIndex(archive, index, error)) << error;
    std::vector<tools::BarEntry> entries;
    for (const auto& entry : index) {
        std::string name;
        for (char16_t c : entry.name) name.push_back(static_cast<char>(c));
        if (!name.empty() && name[0] == '/') name.erase(0, 1);
        const auto edit = edits.find(name);
        if (edit == edits.end()) {
            entries.push_back(tools::BarEntry::fromBytes(
                name, archive.substr(static_cast<size_t>(entry.offset), static_cast<size_t>(entry.size))));
        } else if (edit->second) {
            entries.push_back(tools::BarEntry::fromBytes(name, *edit->second));
        }
    }
    ASSERT_TRUE(tools::writeArchive(to, entries, error)) << error;
}

// A one-item pack (one sub-file) whose item is a text pack of `count` texts "t0", "t1", ...
inline std::string shortTextPack(int count) {
    std::string payload(4, '\0');
    auto putInt = [&payload](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) payload[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    putInt(0, static_cast<uint32_t>(count));
    std::string texts;
    for (int i = 0; i < count; ++i) {
        texts += "t" + std::to_string(i);
        payload += std::string(4, '\0');
        putInt(payload.size() - 4, static_cast<uint32_t>(texts.size()));
    }
    payload += texts;
    std::vector<std::string> subFiles;
    std::string error;
    EXPECT_TRUE(tools::writePack({tools::PackItem{false, 0, false, payload}}, {0}, subFiles, error)) << error;
    return subFiles.empty() ? std::string() : subFiles[0];
}
