// SPDX-License-Identifier: GPL-3.0-or-later
// What the drawing surface tells assistive technology on Windows, through a
// recording stand-in for the annotation service (Wine has none of its own).
#include "platform/win32/Accessible.h"

#include <gtest/gtest.h>

#include <initguid.h>

#include <oleacc.h>

#include <string>
#include <utility>
#include <vector>

namespace {

class RecordingServices final : public IAccPropServices {
public:
    std::vector<std::pair<MSAAPROPID, std::wstring>> set; // a role as its number
    int cleared = 0;
    ULONG references = 1;

    HRESULT STDMETHODCALLTYPE SetHwndProp(HWND, DWORD, DWORD, MSAAPROPID id, VARIANT v) override {
        set.emplace_back(id, std::to_wstring(v.lVal));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHwndPropStr(HWND, DWORD, DWORD, MSAAPROPID id,
                                             LPCWSTR text) override {
        set.emplace_back(id, text);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ClearHwndProps(HWND, DWORD, DWORD, const MSAAPROPID*,
                                             int count) override {
        cleared = count;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    // Not used by the surface.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    HRESULT STDMETHODCALLTYPE SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int,
                                            IAccPropServer*, AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int,
                                                IAccPropServer*, AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**,
                                                        DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*,
                                                          DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int,
                                                 IAccPropServer*, AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*,
                                                           DWORD*) override {
        return E_NOTIMPL;
    }
};

} // namespace

// A slider named as the design describes it, whose value is the reading;
// all of it taken back with the surface.
TEST(Win32Surface, IsASliderNamedAndValuedForAssistiveTechnology) {
    RecordingServices services;
    {
        zirkulon::win32::SurfaceAnnotation annotation(nullptr, &services);
        annotation.setValue(L"137 Grad, stumpfer Winkel");
    }
    const std::vector<std::pair<MSAAPROPID, std::wstring>> expected{
        {PROPID_ACC_ROLE, std::to_wstring(ROLE_SYSTEM_SLIDER)},
        {PROPID_ACC_NAME, L"Winkel zwischen rotem und blauem Schenkel; der blaue folgt dem Zeiger"},
        {PROPID_ACC_VALUE, L"137 Grad, stumpfer Winkel"}};
    EXPECT_EQ(services.set, expected);
    EXPECT_EQ(services.cleared, 3);
    EXPECT_EQ(services.references, 1u);
}
