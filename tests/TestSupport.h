#pragma once
// Helpers shared by the test folders.
#include <set>
#include <string>
#include <vector>

namespace qm {
struct TMapRecord;
}

namespace qmtest {

// A fresh empty folder under the system's temporary folder, removed at destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    std::vector<std::string> List() const; // names of the entries, sorted

private:
    std::string path_;
};

std::vector<unsigned char> ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::vector<unsigned char>& bytes);

// Every byte of two map records alike.
bool SameRecord(const qm::TMapRecord& a, const qm::TMapRecord& b);

// Restores the working folder a test moves away from.
class KeepCwd {
public:
    KeepCwd();
    ~KeepCwd();

private:
    std::string was_;
};

// The symbols of the built-in tileset that lie in the lower layer.
extern const std::set<int> BuiltInLowerLayer;

} // namespace qmtest
