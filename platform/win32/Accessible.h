// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <memory>
#include <string>

struct IAccPropServices;

namespace zirkulon::win32 {

// The drawing surface as assistive technology sees it (MSAA, and UI Automation
// through its bridge from MSAA): a slider named as the design describes it,
// whose value is the set angle in words. Where Windows has no annotation
// service (or Wine only part of one), the window text gives the same reading.
class SurfaceAnnotation {
public:
    // With Windows' annotation service, or with `services` where given.
    explicit SurfaceAnnotation(HWND surface, IAccPropServices* services = nullptr);
    ~SurfaceAnnotation();
    SurfaceAnnotation(const SurfaceAnnotation&) = delete;
    SurfaceAnnotation& operator=(const SurfaceAnnotation&) = delete;

    // Sets the slider's value and tells assistive technology that it changed.
    void setValue(const std::wstring& text);

private:
    struct Release {
        void operator()(IAccPropServices* services) const;
    };

    HWND surface_;
    bool comStarted_ = false;
    std::unique_ptr<IAccPropServices, Release> services_;
};

} // namespace zirkulon::win32
