#pragma once

#include <string>
#include <vector>

#include "engine/foundation/Archive.h"
#include "engine/foundation/PropertyNode.h"

namespace platform {
class FileBatch;
}

// A property tree bound to the XML files it is read from and the file it is
// saved to. Reading merges the listed files into this root node in order, a
// later top-level name replacing an earlier one.
class PropertyFile : public PropertyNode {
    ENGINE_CLASS(PropertyFile, PropertyNode)

public:
    explicit PropertyFile(std::vector<std::string> fileNames = {});

    void SetLoadMode(LoadMode mode) { loadMode_ = mode; }
    LoadMode GetLoadMode() const { return loadMode_; }
    void SetOutputFileName(std::string fileName) { outputFileName_ = std::move(fileName); }
    const std::string& GetOutputFileName() const { return outputFileName_; }
    void SetCondenseWhiteSpace(bool condense) { condenseWhiteSpace_ = condense; }
    const std::vector<std::string>& GetFileNames() const { return fileNames_; }
    void ClearFileList() { fileNames_.clear(); }

    // Reads every listed file; one that cannot be read or parsed adds
    // nothing and the rest are still read. False when any file failed.
    bool Load();
    // Reads one file through the load mode; false when it cannot be read or
    // does not parse, and then the tree is unchanged.
    bool LoadOne(const std::string& fileName);
    // Whether the file can be read in this load mode and parses; the tree is
    // not changed.
    bool CanLoad(const std::string& fileName) const;
    // Adds the properties of an XML document held in memory.
    bool LoadFromMemory(const char* bytes, size_t size, const std::string& sourceName);

    // Writes the tree to the output file (".!" appended and scrambled in the
    // scrambled modes) through a temporary file, so a failed write keeps the
    // previous file. False when nothing was written; `whyNot`, when given,
    // then receives the reason.
    bool Save(std::string* whyNot = nullptr) const;
    // Writes the tree as Save does into the batch: the file is in place once
    // the batch is committed.
    bool Stage(platform::FileBatch& batch, std::string* whyNot = nullptr) const;
    // The output file's name on disk.
    std::string StoredFileName() const;

private:
    std::vector<std::string> fileNames_;
    std::string outputFileName_;
    LoadMode loadMode_ = LoadMode::Default;
    bool condenseWhiteSpace_ = true;
};
