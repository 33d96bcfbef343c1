// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "ui/win32/spoken.h"

#include "platform/windows/win_text.h"

#include <commctrl.h>
#include <objbase.h>
#include <oleacc.h>

namespace vantric {

namespace {

constexpr UINT_PTR kSubclass = 0x5350;
constexpr wchar_t kSaid[] = L"VantricSaid";

// What is said now for a window; null once it has gone.
const Spoken::Said* saidFor(HWND h)
{
    return static_cast<const Spoken::Said*>(::GetPropW(h, kSaid));
}

bool isSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The standard object, but for the window itself the name, description and role said for it.
class Answer final : public IAccessible {
public:
    Answer(HWND h, IAccessible* standard) : h_(h), std_(standard) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG n = --refs_;
        if (n == 0) {
            std_->Release();
            delete this;
        }
        return n;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override
    {
        const Spoken::Said* s = isSelf(child) ? saidFor(h_) : nullptr;
        return s && !s->name.empty() ? text(s->name, out) : std_->get_accName(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override
    {
        const Spoken::Said* s = isSelf(child) ? saidFor(h_) : nullptr;
        return s && !s->description.empty() ? text(s->description, out) : std_->get_accDescription(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override
    {
        const Spoken::Said* s = isSelf(child) ? saidFor(h_) : nullptr;
        if (!s || !s->role)
            return std_->get_accRole(child, out);
        if (!out)
            return E_INVALIDARG;
        out->vt = VT_I4;
        out->lVal = s->role;
        return S_OK;
    }

    // The rest as the standard object answers.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return std_->GetTypeInfoCount(n); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return std_->GetTypeInfo(i, l, t); }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override
    {
        return std_->GetIDsOfNames(r, n, c, l, d);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                                     UINT* a) override
    {
        return std_->Invoke(d, r, l, f, p, v, e, a);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return std_->get_accParent(p); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* n) override { return std_->get_accChildCount(n); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** p) override { return std_->get_accChild(c, p); }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* v) override { return std_->get_accValue(c, v); }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* s) override { return std_->get_accState(c, s); }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* s) override { return std_->get_accHelp(c, s); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, LONG* t) override
    {
        return std_->get_accHelpTopic(f, c, t);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* s) override
    {
        return std_->get_accKeyboardShortcut(c, s);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* c) override { return std_->get_accFocus(c); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* c) override { return std_->get_accSelection(c); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* s) override
    {
        return std_->get_accDefaultAction(c, s);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG f, VARIANT c) override { return std_->accSelect(f, c); }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h, VARIANT c) override
    {
        return std_->accLocation(x, y, w, h, c);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG d, VARIANT s, VARIANT* e) override { return std_->accNavigate(d, s, e); }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* c) override { return std_->accHitTest(x, y, c); }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override { return std_->accDoDefaultAction(c); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override { return std_->put_accName(c, n); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override { return std_->put_accValue(c, v); }

private:
    ~Answer() = default;

    static HRESULT text(const std::wstring& s, BSTR* out)
    {
        if (!out)
            return E_INVALIDARG;
        *out = ::SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    HWND h_;
    IAccessible* std_;
    ULONG refs_ = 1;
};

LRESULT CALLBACK answerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR)
{
    // The object id travels in the low 32 bits.
    if (msg == WM_GETOBJECT && static_cast<DWORD>(lp) == static_cast<DWORD>(OBJID_CLIENT)) {
        IAccessible* standard = nullptr;
        if (SUCCEEDED(::CreateStdAccessibleObject(h, OBJID_CLIENT, __uuidof(IAccessible),
                                                  reinterpret_cast<void**>(&standard)))) {
            auto* answer = new Answer(h, standard);
            const LRESULT r = ::LresultFromObject(__uuidof(IAccessible), wp, answer);
            answer->Release();
            return r;
        }
    }
    if (msg == WM_NCDESTROY) {
        ::RemovePropW(h, kSaid);
        ::RemoveWindowSubclass(h, answerProc, kSubclass);
    }
    return ::DefSubclassProc(h, msg, wp, lp);
}

} // namespace

Spoken::Spoken() : com_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

Spoken::~Spoken()
{
    for (auto& [h, s] : said_)
        if (saidFor(h) == &s) {
            ::RemovePropW(h, kSaid);
            ::RemoveWindowSubclass(h, answerProc, kSubclass);
        }
    if (com_)
        ::CoUninitialize();
}

Spoken::Said& Spoken::said(HWND h)
{
    // A handle of a window gone may come back for another: start afresh.
    if (!saidFor(h)) {
        said_[h] = {};
        ::SetPropW(h, kSaid, &said_[h]);
        ::SetWindowSubclass(h, answerProc, kSubclass, 0);
    }
    return said_[h];
}

void Spoken::name(HWND h, const std::string& text)
{
    std::wstring name = wide(text);
    Said& s = said(h);
    if (s.name == name)
        return;
    s.name = std::move(name);
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, h, OBJID_CLIENT, CHILDID_SELF);
}

void Spoken::description(HWND h, const std::string& text)
{
    said(h).description = wide(text);
}

void Spoken::role(HWND h, long role)
{
    said(h).role = role;
}

} // namespace vantric
