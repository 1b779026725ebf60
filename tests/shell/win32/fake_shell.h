#pragma once

// windows.h first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <type_traits>

#include "win32_modAPI.h"

// The shell as the chooser's tests give it. It numbers every item list and block it hands out,
// from 1, and writes down in order each call that makes one, hands one over or frees one, so that
// a test sees where each went and that each was freed once. Blocks are real local memory; the
// dialog runs the chooser's callback as the real one does, once it is "up".
class FakeShell {
  public:
    struct Answers {
        std::string existing{};  // the one path that exists, in ANSI; the empty text never does
        bool parses = true;      // the shell makes an item list of any path
        bool allocates = true;   // the local heap gives a block
        BOOL versionCall = 1;    // what the version call answers
        DWORD platform = VER_PLATFORM_WIN32_NT;
        bool chooses = false;                   // the user presses OK, not Cancel
        std::optional<std::string> ansiPath{};  // the chosen item's path; none: it has none
        std::optional<std::wstring> widePath{};
    };
    explicit FakeShell(Answers answers) : answers_(std::move(answers)) {}

    std::string trace;  // the events, separated by "; "
    std::string title;  // what the dialog showed above its tree
    DWORD versionSize = 0;

    quillbeam::modAPI::ShellCalls Calls() {
        return {
            .browseForFolder = [this](BROWSEINFOA* info) { return Browse(*info); },
            .pathFromItemList = [this](
                                    const ITEMIDLIST* item,
                                    char* path) { return PathOf(item, answers_.ansiPath, path); },
            .widePathFromItemList =
                [this](const ITEMIDLIST* item, wchar_t* path) {
                    return PathOf(item, answers_.widePath, path, "wide ");
                },
            .pathToItemList = [this](const void* path) -> ITEMIDLIST* {
                const std::string named = answers_.platform == VER_PLATFORM_WIN32_NT
                                              ? "L" + Quoted(static_cast<const wchar_t*>(path))
                                              : Quoted(static_cast<const char*>(path));
                if (!answers_.parses) {
                    Write("no items for " + named);
                    return nullptr;
                }
                ITEMIDLIST* items = NewItems();
                Write("items " + Name(items) + " for " + named);
                return items;
            },
            .taskMemFree = [this](void* items) { Write("free items " + Name(items)); },
            .localAlloc = [this](UINT flags, SIZE_T bytes) -> HLOCAL {
                if (!answers_.allocates) {
                    Write("no block");
                    return nullptr;
                }
                HLOCAL block = ::LocalAlloc(flags, bytes);
                Number(block);
                Write("block " + Name(block) + " of " + std::to_string(bytes) +
                      (flags == LPTR ? "" : " not zero-filled and fixed"));
                return block;
            },
            .localFree =
                [this](HLOCAL block) {
                    Write("free block " + Name(block));
                    return ::LocalFree(block);
                },
            .sendMessage = [this](HWND window, UINT message, WPARAM wParam,
                                  LPARAM lParam) -> LRESULT {
                const bool selects =
                    window == kDialog && message == BFFM_SETSELECTIONA && wParam == ~WPARAM{0};
                Write(selects ? "select data " + Name(reinterpret_cast<void*>(lParam))
                              : "message " + std::to_string(message));
                return 0;  // as a failing selection answers
            },
            .pathFileExists =
                [this](const char* path) { return *path != 0 && path == answers_.existing; },
            .getVersion =
                [this](OSVERSIONINFOA* version) {
                    versionSize = version->dwOSVersionInfoSize;
                    version->dwPlatformId = answers_.platform;
                    return answers_.versionCall;
                },
        };
    }

  private:
    inline static const HWND kDialog = reinterpret_cast<HWND>(0x1234);

    ITEMIDLIST* Browse(const BROWSEINFOA& info) {
        title = info.lpszTitle;
        std::string event = "dialog root " + (info.pidlRoot ? Name(info.pidlRoot) : "none");
        if (info.lpfn != nullptr || info.lParam != 0) {
            const auto* data = reinterpret_cast<const char*>(info.lParam);
            event += " data " + (data ? Name(data) + " " + Quoted(data) : "none");
            if (info.lpfn != quillbeam::modAPI::ChooserCallback) event += " another callback";
        }
        Write(event);
        if (info.lpfn != nullptr) {
            for (const UINT message : {UINT{BFFM_INITIALIZED}, UINT{BFFM_SELCHANGED}}) {
                const int answer = info.lpfn(kDialog, message, 0, info.lParam);
                if (answer != 0) Write("callback answered " + std::to_string(answer));
            }
        }
        if (!answers_.chooses) {
            Write("cancelled");
            return nullptr;
        }
        ITEMIDLIST* chosen = NewItems();
        Write("chosen " + Name(chosen));
        return chosen;
    }

    // The chosen item's path as the shell gives it, into a buffer of MAX_PATH units.
    template <typename Text>
    BOOL PathOf(const ITEMIDLIST* item, const std::optional<Text>& path,
                typename Text::value_type* buffer, const std::string& form = "") {
        Write(form + "path of " + Name(item));
        if (path) std::copy_n(path->c_str(), path->size() + 1, buffer);
        return path.has_value();
    }

    ITEMIDLIST* NewItems() {
        ITEMIDLIST* items = &items_.emplace_back();
        Number(items);
        return items;
    }
    void Number(const void* memory) { names_.emplace(memory, std::to_string(names_.size() + 1)); }
    std::string Name(const void* memory) const {
        const auto found = names_.find(memory);
        return found == names_.end() ? "?" : found->second;
    }
    void Write(const std::string& event) { trace += (trace.empty() ? "" : "; ") + event; }

    // Text in quotes, each unit outside printable ASCII as an escape: \xEB for a byte, \u00EB
    // for a UTF-16 unit.
    template <typename Unit>
    static std::string Quoted(const Unit* text) {
        std::string quoted = "\"";
        for (; *text != 0; ++text) {
            const auto unit = static_cast<std::make_unsigned_t<Unit>>(*text);
            if (unit >= 0x20 && unit < 0x7F) {
                quoted += static_cast<char>(unit);
            } else {
                char escape[8];
                std::snprintf(escape, sizeof escape, sizeof(Unit) == 1 ? "\\x%02X" : "\\u%04X",
                              unsigned(unit));
                quoted += escape;
            }
        }
        return quoted + "\"";
    }

    Answers answers_;
    std::deque<ITEMIDLIST> items_;
    std::map<const void*, std::string> names_;
};
