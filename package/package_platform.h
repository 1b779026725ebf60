#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace quillbeam {

// A text file that has been written and is still open. Destroying it closes it quietly, as on the
// way out of a failed command; Close() closes it and reports a failure to do so.
class OpenTextFile {
public:
    virtual ~OpenTextFile() = default;
    virtual void Close() = 0;
};

// What the Generate command needs of the platform. Every file operation reports failure by
// throwing FileFailure, so that tests can make any step fail.
class PackagePlatform {
public:
    virtual ~PackagePlatform() = default;

    // Creates the file (replacing any file of that name) and closes it, leaving it empty; then
    // opens that existing file for writing and writes `bytes` in one piece. The file stays open.
    virtual std::unique_ptr<OpenTextFile> WriteTextFile(std::u16string_view path,
                                                        std::string_view bytes) = 0;

    // Copies `from` to `to` byte for byte, replacing an existing destination.
    virtual void CopyAsset(std::u16string_view from, std::u16string_view to) = 0;
    // The same, for an asset the template may lack: false, and nothing touched, when `from` does
    // not exist. Any other failure is reported as CopyAsset's.
    virtual bool CopyAssetIfPresent(std::u16string_view from, std::u16string_view to) = 0;

    // Shows a modal message box with one OK button and waits until it is dismissed.
    virtual void ShowMessage(std::u16string_view caption, std::u16string_view text) = 0;
};

}  // namespace quillbeam
