// Every failure is one line on `err` prefixed "spritetool: " and naming the file concerned.
#include "tools/spritetool_cli.h"

#include <fstream>

#include "tools/file_bytes.h"
#include "tools/sprite_info.h"
#include "tools/sprite_source.h"

namespace tools {

namespace {

constexpr const char* kUsage =
    "usage: spritetool compile SPRITE.json OUT   compile a sprite source into sprite bytes\n"
    "       spritetool info FILE                 print a compiled sprite's tables\n";

int failed(std::ostream& err, const std::string& error) {
    err << "spritetool: " << error << '\n';
    return 1;
}

}  // namespace

int runSpritetool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return 0;
    }
    std::string bytes, error;
    if (args.size() == 2 && args[0] == "info") {
        if (!readFileBytes(args[1], bytes, error)) return failed(err, error);
        std::string text;
        const bool whole = describeSprite(bytes, text, error);
        out << text;
        return whole ? 0 : failed(err, args[1] + ": " + error);
    }
    if (args.size() == 3 && args[0] == "compile") {
        if (!compileSpriteFile(args[1], bytes, error)) return failed(err, error);
        std::ofstream file(args[2], std::ios::binary | std::ios::trunc);
        if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !file.flush())
            return failed(err, args[2] + ": cannot write");
        return 0;
    }
    err << kUsage;
    return 2;
}

}  // namespace tools
