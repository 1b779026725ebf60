#include "win32_link_accessible.h"

// clang-format off
#include <windows.h>
#include <oleacc.h>
// clang-format on

#include <atomic>
#include <memory>
#include <optional>

#include "com_ptr.h"
#include "subclass.h"
#include "system_library.h"
#include "wide_text.h"

namespace quillbeam::win32 {
namespace {

// Interfaces are named by __uuidof throughout: the import library of the accessibility calls links
// the name IID_IAccessible to a stub of code, not to the interface's identifier.

// The accessibility library, and the one that makes the texts it hands out, serve screen readers
// alone: they are loaded when one first asks, not at every start.
modAPI::SystemLibrary& Accessibility() {
    static modAPI::SystemLibrary library(L"oleacc.dll");
    return library;
}
modAPI::SystemLibrary& Automation() {
    static modAPI::SystemLibrary library(L"oleaut32.dll");
    return library;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT Answer(std::wstring_view text, BSTR* answer) {
    if (answer == nullptr) return E_POINTER;
    const auto allocate = Automation().Find<decltype(SysAllocStringLen)>("SysAllocStringLen");
    if (allocate == nullptr) return E_OUTOFMEMORY;
    *answer = allocate(text.data(), static_cast<UINT>(text.size()));
    return *answer != nullptr ? S_OK : E_OUTOFMEMORY;
}

// The system's accessible object of a static control, with what makes the control a link put in
// its place. Screen readers call it on the window's thread, through the system's marshalling.
// A COM object ends through its own Release, never deleted through an interface, so the
// interface's destructor need not be virtual, and its own is private.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// NOLINTNEXTLINE(cppcoreguidelines-virtual-class-destructor): ended by Release alone, as above
class LinkAccessible final : public IAccessible {
  public:
    LinkAccessible(HWND link, const layout::Control& control, ComPtr<IAccessible> standard)
        : link_(link),
          standard_(std::move(standard)),
          name_(ToWide(layout::LinkOf(control.role).name)),
          description_(ToWide(layout::LinkOf(control.role).description)),
          address_(ToWide(layout::LinkOf(control.role).address)) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch: screen readers call IAccessible directly; late binding would reach the standard
    // object's answers, not these.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible: what makes a link.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return IsSelf(child) ? Answer(name_, name) : standard_.get()->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return IsSelf(child) ? Answer(address_, value)
                             : standard_.get()->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return IsSelf(child) ? Answer(description_, description)
                             : standard_.get()->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child)) return standard_.get()->get_accRole(child, role);
        if (role == nullptr) return E_POINTER;
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_LINK;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const HRESULT result = standard_.get()->get_accState(child, state);
        if (result == S_OK && IsSelf(child) && state->vt == VT_I4)
            state->lVal |= STATE_SYSTEM_LINKED;
        return result;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return IsSelf(child) ? Answer(L"Jump", action)
                             : standard_.get()->get_accDefaultAction(child, action);
    }
    // Posted as the label posts a click, so that the page opens as it does for a click, once the
    // screen reader's call has come back.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!IsSelf(child)) return standard_.get()->accDoDefaultAction(child);
        HWND window = GetParent(link_);
        if (!IsWindow(link_) || window == nullptr) return E_FAIL;
        return PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link_), STN_CLICKED),
                            reinterpret_cast<LPARAM>(link_))
                   ? S_OK
                   : E_FAIL;
    }

    // IAccessible: the rest as the system describes the control.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_.get()->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return standard_.get()->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_.get()->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_.get()->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_.get()->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_.get()->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard_.get()->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_.get()->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long how, VARIANT child) override {
        return standard_.get()->accSelect(how, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return standard_.get()->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_.get()->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
        return standard_.get()->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    ~LinkAccessible() = default;
    friend std::default_delete<LinkAccessible>;

    std::atomic<ULONG> references_ = 1;
    HWND link_;
    ComPtr<IAccessible> standard_;
    std::wstring name_;
    std::wstring description_;
    std::wstring address_;
};
#pragma GCC diagnostic pop

// A new accessible object for `link`, or none when the system gives no standard one to build on.
ComPtr<IAccessible> MakeLinkAccessible(HWND link, const layout::Control& control) {
    const auto createStandard =
        Accessibility().Find<decltype(CreateStdAccessibleObject)>("CreateStdAccessibleObject");
    IAccessible* standard = nullptr;
    if (createStandard == nullptr ||
        FAILED(createStandard(link, OBJID_CLIENT, __uuidof(IAccessible),
                              reinterpret_cast<void**>(&standard)))) {
        return {};
    }
    auto accessible =
        std::make_unique<LinkAccessible>(link, control, ComPtr<IAccessible>(standard));
    return ComPtr<IAccessible>(accessible.release());  // holds the one reference it starts with
}

std::optional<LRESULT> HandleLink(HWND link, UINT message, WPARAM wParam, LPARAM lParam,
                                  DWORD_PTR data) noexcept {
    // OBJID_CLIENT is compared in 32 bits, as the message carries it.
    if (message != WM_GETOBJECT || static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) {
        return std::nullopt;
    }
    try {
        const ComPtr<IAccessible> accessible =
            MakeLinkAccessible(link, *reinterpret_cast<const layout::Control*>(data));
        const auto toReference =
            Accessibility().Find<decltype(LresultFromObject)>("LresultFromObject");
        if (accessible && toReference != nullptr) {
            const LRESULT reference = toReference(__uuidof(IAccessible), wParam, accessible.get());
            if (reference > 0) return reference;
        }
    } catch (...) {
        // Out of memory: the system's own description serves instead.
    }
    return std::nullopt;
}

}  // namespace

void MakeAccessibleLink(HWND link, const layout::Control& control) {
    Subclass<HandleLink>(link, reinterpret_cast<DWORD_PTR>(&control));
}

}  // namespace quillbeam::win32
