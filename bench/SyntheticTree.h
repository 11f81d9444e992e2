#pragma once

#include "ScanTotals.h"

#include <filesystem>
#include <optional>
#include <string>

// The fixed shape of the two synthetic trees. Names and sizes come from a fixed-seed generator,
// so a shape always yields the same trees, byte for byte in names and sizes.
struct TreeShape {
    int FanOut = 0;         // subdirectories of each nested directory above the last level
    int Depth = 0;          // levels below the nested tree's start
    int MaxFilesPerDir = 0; // files per nested directory, drawn from 0..MaxFilesPerDir
    int WideSubdirs = 0;    // empty subdirectories side by side in the wide tree
    int WideFiles = 0;      // files side by side in the wide tree

    // About 20,000 nested directories holding about 200,000 files; 50,000 and 200,000 wide.
    static TreeShape Full();
    // A few dozen entries: enough to run every contender, cheap enough for CI.
    static TreeShape Quick();

    // Written into the completion marker: a tree is reused only for the same shape and generator.
    std::string Signature() const;
};

struct PrepareResult {
    bool Ok = false;
    bool Reused = false;
    std::string Error; // when not Ok
};

// Two trees side by side in one folder:
//   nested/  a fixed fan-out and depth, a few files in every directory, sizes up to 64 GiB;
//   wide/    many-dirs/ with WideSubdirs empty subdirectories beside many-files/ with WideFiles.
// Files are sparse (made with ftruncate), so even the huge ones cost an inode and no data blocks.
class SyntheticTree {
public:
    SyntheticTree(std::filesystem::path root, TreeShape shape);

    std::string NestedPath() const;
    std::string WidePath() const;

    // The totals that a correct scan finds, worked out from the generator without touching disk.
    ScanTotals ExpectedNested() const;
    ScanTotals ExpectedWide() const;

    // Reuses the folder when its marker says a tree of this shape is complete; otherwise clears
    // it (only when it is empty or was made by this benchmark) and builds both trees afresh.
    PrepareResult Prepare() const;

    // Removes the folder and everything in it; the error text, if any.
    std::optional<std::string> Remove() const;

private:
    std::optional<std::string> ClearForBuild() const;
    std::optional<std::string> Build() const;

    std::filesystem::path root_;
    TreeShape shape_;
};
