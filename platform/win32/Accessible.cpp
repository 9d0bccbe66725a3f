// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Accessible.h"

#include "platform/Design.h"
#include "platform/win32/Win32.h"

// The annotation service's GUIDs, defined here.
#include <initguid.h>

#include <oleacc.h>

#include <iterator>

namespace zirkulon::win32 {

constexpr DWORD clientObject = static_cast<DWORD>(OBJID_CLIENT);

void SurfaceAnnotation::Release::operator()(IAccPropServices* services) const {
    services->Release();
}

SurfaceAnnotation::SurfaceAnnotation(HWND surface, IAccPropServices* services) : surface_(surface) {
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (services != nullptr) {
        services->AddRef();
    } else if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IAccPropServices,
                                       reinterpret_cast<void**>(&services)))) {
        return;
    }
    services_.reset(services);
    VARIANT role{};
    role.vt = VT_I4;
    role.lVal = ROLE_SYSTEM_SLIDER;
    services_->SetHwndProp(surface_, clientObject, CHILDID_SELF, PROPID_ACC_ROLE, role);
    services_->SetHwndPropStr(surface_, clientObject, CHILDID_SELF, PROPID_ACC_NAME,
                              wide(design::surfaceDescription).c_str());
}

SurfaceAnnotation::~SurfaceAnnotation() {
    if (services_) {
        const MSAAPROPID annotated[] = {PROPID_ACC_ROLE, PROPID_ACC_NAME, PROPID_ACC_VALUE};
        services_->ClearHwndProps(surface_, clientObject, CHILDID_SELF, annotated,
                                  static_cast<int>(std::size(annotated)));
        services_.reset(); // before COM goes
    }
    if (comStarted_) {
        CoUninitialize();
    }
}

void SurfaceAnnotation::setValue(const std::wstring& text) {
    if (services_) {
        services_->SetHwndPropStr(surface_, clientObject, CHILDID_SELF, PROPID_ACC_VALUE,
                                  text.c_str());
    }
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, surface_, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace zirkulon::win32
