#include "HostileTrees.h"

namespace {

constexpr int kDeepLevels = 3000;
constexpr int kFilesInOneDir = 200'000;
constexpr int kSubdirsInOneDir = 50'000;

std::int64_t SizeOfFile(int i) {
    return i % 4096;
}

TreeCounts DeepChain(FixtureTree& fx) {
    fx.Chain(".", kDeepLevels);
    return {kDeepLevels + 1, 0, 0, kDeepLevels + 1};
}

TreeCounts ManyFiles(FixtureTree& fx) {
    fx.ManyFiles(".", "f", kFilesInOneDir, SizeOfFile);
    std::int64_t bytes = 0;
    for (int i = 0; i < kFilesInOneDir; ++i)
        bytes += SizeOfFile(i);
    return {1, kFilesInOneDir, bytes, 1};
}

TreeCounts ManySubdirs(FixtureTree& fx) {
    fx.ManyDirs(".", "d", kSubdirsInOneDir);
    return {kSubdirsInOneDir + 1, 0, 0, 2};
}

// The longest name a file system takes, bytes that are not UTF-8, control characters, and the
// characters that a format string or an escape would eat; each directory holds a file named
// like it.
const std::vector<std::string>& OddNames() {
    static const std::vector<std::string> names = {
        std::string(255, 'n'),
        std::string(252, 'x') + "\xc3\xa9" + "y", // 255 bytes, the last character two of them
        "bad\xff\xfeutf8",
        "cut\xe6\x97",       // a sequence that stops short
        "\xc0\xaf-overlong", // an overlong "/"
        "new\nline",
        "\ncarriage\rreturn\n",
        "tab\tbell\a",
        "per%cent%s%n%d",
        "back\\slash\\",
        "\\\\server\\share",
        " leading and trailing ",
        "-starts-with-dash",
        "\"quotes\" and 'apostrophes'",
        "caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x93\x81",
    };
    return names;
}

TreeCounts OddNamesTree(FixtureTree& fx) {
    for (const auto& name : OddNames()) {
        fx.Dir(name);
        fx.File(name + "/" + name, 3);
    }
    const auto n = static_cast<std::int64_t>(OddNames().size());
    return {n + 1, n, 3 * n, 2};
}

// Links are never followed, so loops of every kind are files of their own size: the length of
// the text they hold.
TreeCounts LinkLoops(FixtureTree& fx) {
    fx.Dir("a/b");
    const std::pair<const char*, const char*> links[] = {
        {"self", "."},    {"a/up", ".."},   {"a/b/top", "../.."}, {"loop", "loop"},
        {"ping", "pong"}, {"pong", "ping"}, {"a/b/root", "/"},    {"a/b/start", fx.Path().c_str()},
    };
    std::int64_t bytes = 0;
    for (const auto& [link, target] : links) {
        fx.Link(link, target);
        bytes += static_cast<std::int64_t>(std::string(target).size());
    }
    return {3, 8, bytes, 3};
}

// A scan that opened one of these would block until a writer or a peer came.
TreeCounts FifosAndSockets(FixtureTree& fx) {
    fx.Fifo("fifo");
    fx.Dir("inside");
    fx.Fifo("inside/fifo");
    fx.Socket("socket");
    fx.Socket("inside/socket");
    return {2, 4, 0, 2};
}

} // namespace

const std::vector<HostileTree>& HostileTrees() {
    static const std::vector<HostileTree> trees = {
        {"Deep3000", DeepChain, {}},
        {"Files200000InOneDir", ManyFiles, {}},
        {"Subdirs50000InOneDir", ManySubdirs, {}},
        {"OddNames", OddNamesTree, OddNames()},
        {"LinkLoops", LinkLoops, {}},
        {"FifosAndSockets", FifosAndSockets, {}},
    };
    return trees;
}
