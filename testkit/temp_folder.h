#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <stdexcept>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
  public:
    // create_directory reports whether it made the folder, so a name that is taken is skipped.
    TempFolder() {
        std::random_device seed;
        std::mt19937_64 random(seed());
        const std::filesystem::path parent = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = parent / ("quillbeam-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(path_)) return;
        }
        throw std::runtime_error("cannot make a temporary folder in " + parent.string());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // Read-only files are made writable first: Windows will not delete them otherwise.
    ~TempFolder() {
        std::error_code ignored;
        std::error_code listing;
        for (auto it = std::filesystem::recursive_directory_iterator(path_, listing);
             !listing && it != std::filesystem::recursive_directory_iterator();
             it.increment(listing)) {
            if (it->is_symlink(ignored)) continue;  // never change what a link points at
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

inline std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

// Every regular file under `folder`, by its path relative to it with '/' between names, and its
// bytes.
inline std::map<std::string, std::string> FilesUnder(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[entry.path().lexically_relative(folder).generic_string()] =
                ReadFileBytes(entry.path());
        }
    }
    return files;
}
