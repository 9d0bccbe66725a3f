// SPDX-License-Identifier: GPL-3.0-or-later
// Reads, through Windows' own interfaces, what msi_test.sh checks in the
// packages. Runs under Wine; one fact a line on standard output.
//
//   package_probe version FILE     a program file's version record, as the
//                                  Details page of its properties reads it:
//     fixed 1.0.0.0 1.0.0.0          file and product version as numbers
//     translation 0407 04b0          language and code page of each table
//     resource 16 0407               the language each version record (16)
//     resource 24 0407               and manifest (24) is filed under
//     FileVersion=1.00               the strings of the first table
//   package_probe shortcuts MSI    the Target of each row of the package's
//                                  Shortcut table: a path for a plain
//                                  shortcut, a feature's name for an
//                                  advertised one (which Wine, unlike
//                                  Windows, installs as a plain one)
//
// Exits 1 when the file lacks what was asked for, 2 on wrong use.
#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

void print(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fputc('\n', stdout);
}

int version(const wchar_t* file) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(file, &ignored);
    std::vector<unsigned char> data(size);
    if (size == 0 || !GetFileVersionInfoW(file, 0, size, data.data())) {
        std::fputs("no version record\n", stderr);
        return 1;
    }

    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data.data(), L"\\", &value, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
        auto* fixed = static_cast<VS_FIXEDFILEINFO*>(value);
        wchar_t line[80];
        swprintf(line, 80, L"fixed %u.%u.%u.%u %u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS),
                 LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                 LOWORD(fixed->dwFileVersionLS), HIWORD(fixed->dwProductVersionMS),
                 LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwProductVersionLS),
                 LOWORD(fixed->dwProductVersionLS));
        print(line);
    }

    struct Translation {
        WORD language;
        WORD codePage;
    };
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &value, &length) ||
        length < sizeof(Translation)) {
        std::fputs("no translation table\n", stderr);
        return 1;
    }
    auto* translations = static_cast<Translation*>(value);
    for (UINT i = 0; i < length / sizeof(Translation); ++i) {
        wchar_t line[40];
        swprintf(line, 40, L"translation %04x %04x", translations[i].language,
                 translations[i].codePage);
        print(line);
    }

    for (const wchar_t* name :
         {L"FileVersion", L"ProductVersion", L"ProductName", L"InternalName", L"FileDescription",
          L"CompanyName", L"LegalCopyright", L"OriginalFilename"}) {
        wchar_t path[80];
        swprintf(path, 80, L"\\StringFileInfo\\%04x%04x\\%ls", translations[0].language,
                 translations[0].codePage, name);
        if (VerQueryValueW(data.data(), path, &value, &length) && length > 0)
            print(std::wstring(name) + L"=" + static_cast<const wchar_t*>(value));
    }
    // The languages the resources themselves are filed under.
    const HMODULE module = LoadLibraryExW(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    for (const auto type :
         {MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(24)}) { // RT_VERSION, RT_MANIFEST
        EnumResourceNamesW(
            module, type,
            [](HMODULE m, LPCWSTR kind, LPWSTR name, LONG_PTR) -> BOOL {
                return EnumResourceLanguagesW(
                    m, kind, name,
                    [](HMODULE, LPCWSTR kind, LPCWSTR, WORD language, LONG_PTR) -> BOOL {
                        wchar_t line[40];
                        swprintf(line, 40, L"resource %u %04x",
                                 static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(kind)),
                                 language);
                        print(line);
                        return TRUE;
                    },
                    0);
            },
            0);
    }
    FreeLibrary(module);
    return 0;
}

int shortcuts(const wchar_t* package) {
    MSIHANDLE database = 0;
    if (MsiOpenDatabaseW(package, reinterpret_cast<LPCWSTR>(MSIDBOPEN_READONLY), &database) !=
        ERROR_SUCCESS) {
        std::fputs("cannot open the package\n", stderr);
        return 1;
    }
    MSIHANDLE view = 0;
    if (MsiDatabaseOpenViewW(database, L"SELECT `Target` FROM `Shortcut`", &view) !=
            ERROR_SUCCESS ||
        MsiViewExecute(view, 0) != ERROR_SUCCESS) {
        std::fputs("no Shortcut table\n", stderr);
        MsiCloseHandle(database);
        return 1;
    }
    MSIHANDLE record = 0;
    while (MsiViewFetch(view, &record) == ERROR_SUCCESS) {
        wchar_t target[1024];
        DWORD length = 1024;
        if (MsiRecordGetStringW(record, 1, target, &length) == ERROR_SUCCESS)
            print(target);
        MsiCloseHandle(record);
    }
    MsiCloseHandle(view);
    MsiCloseHandle(database);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wcscmp(argv[1], L"version") == 0)
        return version(argv[2]);
    if (argc == 3 && std::wcscmp(argv[1], L"shortcuts") == 0)
        return shortcuts(argv[2]);
    std::fputs("usage: package_probe version FILE | package_probe shortcuts MSI\n", stderr);
    return 2;
}
