#pragma once

#include "ScanTotals.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The fixed shape of the two synthetic trees. Names and sizes come from a fixed-seed generator,
// so a shape always yields the same trees, byte for byte in names and sizes.
struct TreeShape {
    int FanOut = 0;               // subdirectories of each nested directory above the last level
    int Depth = 0;                // levels below the nested tree's start
    int MaxFilesPerDir = 0;       // files per nested directory, drawn from 0..MaxFilesPerDir
    int WideSubdirs = 0;          // empty subdirectories side by side in the wide tree
    int WideFiles = 0;            // files side by side in the wide tree
    std::vector<int> FlatSubdirs; // one flat tree per count: that many empty subdirectories
    int MillionFanOut = 0;        // the tree of empty directories: fan-out at every level
    int MillionDepth = 0;         // and levels below its start

    // About 20,000 nested directories holding about 200,000 files; 50,000 and 200,000 wide;
    // flat directories of 50,000, 100,000 and 200,000 subdirectories; 1,010,101 empty
    // directories, 100 x 100 x 100 below the start.
    static TreeShape Full();
    // A few dozen entries: enough to run every contender, cheap enough for CI.
    static TreeShape Quick();

    // Directories of the tree of empty directories, its start included.
    std::int64_t MillionDirectories() const;
    // What building every tree of this shape takes from the file system, roughly.
    std::int64_t InodesNeeded() const;
    std::int64_t BytesNeeded() const;
    // Lowers the fan-out of the tree of empty directories until the trees fit the free inodes
    // and bytes; the note to print when it had to, or nothing when the shape fits as it is.
    std::optional<std::string> ScaleDownToFit(std::int64_t freeInodes, std::int64_t freeBytes);

    // Written into the completion marker: a tree is reused only for the same shape and generator.
    std::string Signature() const;
};

struct PrepareResult {
    bool Ok = false;
    bool Reused = false;
    std::string Error; // when not Ok
    std::string Note;  // when the shape was scaled down to fit the file system
};

// The trees side by side in one folder:
//   nested/      a fixed fan-out and depth, a few files in every directory, sizes up to 64 GiB;
//   wide/        many-dirs/ with WideSubdirs empty subdirectories beside many-files/ with
//   WideFiles; flat-N/      N empty subdirectories in one directory, for each N of FlatSubdirs;
//   million/     empty directories, MillionFanOut in each one down to MillionDepth levels.
// Files are sparse (made with ftruncate), so even the huge ones cost an inode and no data blocks.
class SyntheticTree {
public:
    SyntheticTree(std::filesystem::path root, TreeShape shape);

    // The shape as built: Prepare may have scaled it down.
    const TreeShape& Shape() const { return shape_; }

    std::string NestedPath() const;
    std::string WidePath() const;
    std::string FlatPath(int subdirs) const;
    std::string MillionPath() const;

    // The totals that a correct scan finds, worked out from the generator without touching disk.
    ScanTotals ExpectedNested() const;
    ScanTotals ExpectedWide() const;
    ScanTotals ExpectedFlat(int subdirs) const;
    ScanTotals ExpectedMillion() const;

    // Reuses the folder when its marker says a tree of this shape is complete; otherwise clears
    // it (only when it is empty or was made by this benchmark), scales the shape down if the file
    // system could not hold it, and builds every tree afresh.
    PrepareResult Prepare();

    // Removes the folder and everything in it; the error text, if any.
    std::optional<std::string> Remove() const;

private:
    std::optional<std::string> ClearForBuild() const;
    std::optional<std::string> ScaleToFreeSpace();
    std::optional<std::string> Build() const;

    std::filesystem::path root_;
    TreeShape shape_;
};
