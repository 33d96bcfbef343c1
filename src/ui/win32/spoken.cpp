// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "ui/win32/spoken.h"

#include "platform/windows/win_text.h"

#include <initguid.h>
#include <objbase.h>
#include <oleacc.h>

namespace vantric {

Spoken::Spoken() : com_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
{
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                  reinterpret_cast<void**>(&services_))))
        services_ = nullptr;
}

Spoken::~Spoken()
{
    if (services_)
        services_->Release();
    if (com_)
        ::CoUninitialize();
}

bool Spoken::annotate(HWND h, const GUID& property, const std::string& text)
{
    return services_ && SUCCEEDED(services_->SetHwndPropStr(h, OBJID_CLIENT, CHILDID_SELF, property, wide(text).c_str()));
}

bool Spoken::name(HWND h, const std::string& text)
{
    return annotate(h, PROPID_ACC_NAME, text);
}

bool Spoken::description(HWND h, const std::string& text)
{
    return annotate(h, PROPID_ACC_DESCRIPTION, text);
}

bool Spoken::role(HWND h, long role)
{
    if (!services_)
        return false;
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = role;
    return SUCCEEDED(services_->SetHwndProp(h, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_ROLE, v));
}

} // namespace vantric
