#include "core/accessible.h"

#include <oleacc.h>

#include <new>

namespace {

typedef HRESULT(WINAPI* CoInitializeExProc)(void*, DWORD);
typedef HRESULT(WINAPI* CoInitializeProc)(void*);
typedef void(WINAPI* CoUninitializeProc)();
typedef HRESULT(WINAPI* CreateStdAccessibleObjectProc)(HWND, LONG, REFIID, void**);
typedef LRESULT(WINAPI* LresultFromObjectProc)(REFIID, WPARAM, LPUNKNOWN);
typedef BSTR(WINAPI* SysAllocStringProc)(const OLECHAR*);
typedef void(WINAPI* NotifyWinEventProc)(DWORD, HWND, LONG, LONG);

template <typename Proc>
Proc LookUp(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Per process, as the modules are: loaded once when first needed and kept, a failure too. The
// object's functions wait for the first reader; the events' one is wanted from the start.
struct EventBinding {
    bool tried;
    NotifyWinEventProc notifyWinEvent;
};
EventBinding g_events;

struct AccessibilityBinding {
    bool tried;
    CreateStdAccessibleObjectProc createStdAccessibleObject;
    LresultFromObjectProc lresultFromObject;
    SysAllocStringProc sysAllocString;
};
AccessibilityBinding g_binding;

const AccessibilityBinding& Binding()
{
    if (!g_binding.tried) {
        g_binding.tried = true;
        HMODULE oleacc = LoadLibraryA("oleacc.dll");
        HMODULE oleaut = LoadLibraryA("oleaut32.dll");
        g_binding.createStdAccessibleObject =
            LookUp<CreateStdAccessibleObjectProc>(oleacc, "CreateStdAccessibleObject");
        g_binding.lresultFromObject = LookUp<LresultFromObjectProc>(oleacc, "LresultFromObject");
        g_binding.sysAllocString = LookUp<SysAllocStringProc>(oleaut, "SysAllocString");
    }
    return g_binding;
}

bool IsSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The standard object for everything but the role, name and value of the control itself:
// location, state, focus, parent, navigation.
class AccessibleControl : public IAccessible {
public:
    AccessibleControl(IAccessible* standard, HWND control, LONG role, DescribeAccessibleProc describe)
        : standard_(standard), control_(control), role_(role), describe_(describe)
    {}
    AccessibleControl(const AccessibleControl&) = delete;
    AccessibleControl& operator=(const AccessibleControl&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            standard_->Release();
            this->~AccessibleControl();
            HeapFree(GetProcessHeap(), 0, this);
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch, as the standard object answers it.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override
    {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override
    {
        return standard_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* wrong) override
    {
        return standard_->Invoke(id, iid, locale, flags, parameters, result, exception, wrong);
    }

    // IAccessible: role, name and value of the control itself are its own.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        return IsSelf(child) ? Text(true, name) : standard_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return IsSelf(child) ? Text(false, value) : standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!IsSelf(child) || role_ == 0)
            return standard_->get_accRole(child, role);
        if (!role)
            return E_POINTER;
        role->vt = VT_I4;
        role->lVal = role_;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override
    {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override
    {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override
    {
        return standard_->get_accHelp(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override
    {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override
    {
        return standard_->get_accKeyboardShortcut(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override
    {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override
    {
        return standard_->get_accDefaultAction(child, text);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override
    {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override
    {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override
    {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return standard_->put_accValue(child, value);
    }

private:
    ~AccessibleControl() = default;

    // The name or the value as the control gives it now; none (S_FALSE) when it is empty.
    HRESULT Text(bool name, BSTR* text)
    {
        if (!text)
            return E_POINTER;
        *text = nullptr;
        char names[ACCESSIBLE_TEXT_SIZE] = "", values[ACCESSIBLE_TEXT_SIZE] = "";
        if (!IsWindow(control_) || !describe_(control_, names, values))
            return E_FAIL;
        const char* chosen = name ? names : values;
        if (!*chosen)
            return S_FALSE;
        WCHAR wide[ACCESSIBLE_TEXT_SIZE];
        if (!MultiByteToWideChar(CP_ACP, 0, chosen, -1, wide, ACCESSIBLE_TEXT_SIZE))
            return E_FAIL;
        *text = Binding().sysAllocString(wide);
        return *text ? S_OK : E_OUTOFMEMORY;
    }

    LONG references_ = 1;
    IAccessible* standard_;
    HWND control_;
    LONG role_;
    DescribeAccessibleProc describe_;
};

}  // namespace

bool StartAccessibility()
{
    HMODULE ole = LoadLibraryA("ole32.dll");
    if (auto initialize = LookUp<CoInitializeExProc>(ole, "CoInitializeEx"))
        return SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
    // Windows 95 without DCOM: the older call, apartment-threaded too.
    auto initialize = LookUp<CoInitializeProc>(ole, "CoInitialize");
    return initialize && SUCCEEDED(initialize(nullptr));
}

void EndAccessibility()
{
    if (auto uninitialize = LookUp<CoUninitializeProc>(GetModuleHandleA("ole32.dll"), "CoUninitialize"))
        uninitialize();
}

LRESULT AnswerGetObject(HWND control, WPARAM wparam, LPARAM lparam, LONG role,
                        DescribeAccessibleProc describe)
{
    if (static_cast<LONG>(lparam) != OBJID_CLIENT)
        return 0;
    const AccessibilityBinding& binding = Binding();
    if (!binding.createStdAccessibleObject || !binding.lresultFromObject || !binding.sysAllocString)
        return 0;
    IAccessible* standard = nullptr;
    if (FAILED(binding.createStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&standard))) ||
        !standard)
        return 0;
    void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(AccessibleControl));
    if (!memory) {
        standard->Release();
        return 0;
    }
    // A new object for every request: one a reader still holds answers from the control's
    // state while the control lives, and nothing after.
    auto* object = new (memory) AccessibleControl(standard, control, role, describe);
    const LRESULT result = binding.lresultFromObject(__uuidof(IAccessible), wparam, object);
    object->Release();
    return result > 0 ? result : 0;
}

void NotifyAccessibleEvent(DWORD event, HWND control)
{
    // Windows 98 and 2000 on; before them no reader listens.
    if (!g_events.tried) {
        g_events.tried = true;
        g_events.notifyWinEvent =
            LookUp<NotifyWinEventProc>(GetModuleHandleA("user32.dll"), "NotifyWinEvent");
    }
    if (g_events.notifyWinEvent)
        g_events.notifyWinEvent(event, control, OBJID_CLIENT, CHILDID_SELF);
}
