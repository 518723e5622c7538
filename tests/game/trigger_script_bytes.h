// Trigger-script items written byte by byte for the tests: actions, entries, commands, triggers and
// the item, little-endian as the level pack holds them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace script {

inline std::string u8(int v) { return std::string(1, static_cast<char>(v & 0xFF)); }
inline std::string le16(int v) { return u8(v) + u8(v >> 8); }
inline std::string le32(uint32_t v) { return le16(static_cast<int>(v & 0xFFFF)) + le16(static_cast<int>(v >> 16)); }

inline std::string move(int x, int y) { return u8(11) + le16(x) + le16(y); }
inline std::string centre(int x, int y) { return u8(12) + le16(x) + le16(y); }
inline std::string anim(int a) { return u8(22) + u8(a); }
inline std::string setFlags(uint32_t mask) { return u8(23) + le32(mask); }
inline std::string clearFlags(uint32_t mask) { return u8(24) + le32(mask); }
inline std::string wake(int id) { return u8(34) + le16(id) + le16(0); }
inline std::string sleep(int id) { return u8(34) + le16(id) + le16(1); }
inline std::string sound(int n) { return u8(37) + le16(n); }

struct Entry {
    int frame;
    std::vector<std::string> actions;
};

inline std::string entry(const Entry& e) {
    std::string out = le16(e.frame) + u8(static_cast<int>(e.actions.size()));
    for (const std::string& a : e.actions) out += a;
    return out;
}

// Opcodes 2 and 3 carry a subject (actor id, sprite slot); the others none.
inline std::string command(int op, int subject, const std::vector<Entry>& entries) {
    std::string out = u8(op) + u8(0);
    if (op == 2 || op == 3) out += le16(subject);
    out += le16(static_cast<int>(entries.size()));
    for (const Entry& e : entries) out += entry(e);
    return out;
}
inline std::string camera(const std::vector<Entry>& entries) { return command(1, 0, entries); }
inline std::string actorCommand(int id, const std::vector<Entry>& entries) { return command(2, id, entries); }

inline std::string trigger(int id, const std::vector<std::string>& commands) {
    std::string out = le16(id) + u8(static_cast<int>(commands.size())) + le16(0);
    for (const std::string& c : commands) out += c;
    return out;
}

inline std::string item(const std::vector<std::string>& triggers) {
    std::string out = u8(static_cast<int>(triggers.size()));
    for (const std::string& t : triggers) out += t;
    return out;
}

}  // namespace script
