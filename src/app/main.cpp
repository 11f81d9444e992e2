// Until the window exists: prints the listing of a directory as indented plain text.
#include "DirTree.h"
#include "SizeStr.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::string start = argc > 1 ? argv[1] : "/";
    const std::string separator = LocaleDecimalSeparator();
    DirTree tree;
    tree.BuildTree(start);
    const TDirEntry* root = tree.Root();
    if (root == nullptr) {
        std::cerr << "Error accessing \"" << start << "\"\n";
        tree.ReleaseTree();
        return 1;
    }
    for (const TDirEntry* e = root; e != nullptr; e = NextEntry(*e, false)) {
        std::cout << std::string(2 * (EntryDepth(*e) - 1), ' ') << e->Name << "  " << e->Files
                  << " files (" << SizeStr(e->Bytes, 2, separator) << ")\n";
    }
    std::cout << "overall: " << SizeStr(TotalSize(*root), 3, separator) << ", " << TotalFileCount(*root)
              << " files, " << TotalSubdirCount(*root) << " subdirs\n";
    tree.ReleaseTree();
    return 0;
}
