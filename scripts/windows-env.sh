# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Sourced by the scripts that build for Windows with mingw-w64 and run the
# result under Wine.

# build_windows DIR [CMAKE ARGS...]: configures and builds for 64-bit Windows in DIR.
build_windows() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release "$@"
  cmake --build "$dir"
}

# pack_windows BUILD_DIR DIST_DIR: from a Windows build, the stripped
# zirkulon.exe, a portable zip (the exe, the licence, a German read-me) and
# the MSI, all into DIST_DIR; checks that the exe imports only Windows' own
# DLLs. Run from the checkout's top folder.
pack_windows() {
  local build=$1 dist=$2 version imports dll
  version=$(sed -n 's/^#define ZIRKULON_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/Version.h")
  rm -rf "$dist"
  mkdir -p "$dist/files"
  x86_64-w64-mingw32-strip -o "$dist/zirkulon.exe" "$build/zirkulon.exe"
  imports=$(x86_64-w64-mingw32-objdump -p "$dist/zirkulon.exe" | sed -n 's/^\s*DLL Name: //p')
  for dll in ${imports,,}; do
    case $dll in
    kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll | ole32.dll) ;;
    *)
      echo "zirkulon.exe imports $dll, which Windows does not bring" >&2
      return 1
      ;;
    esac
  done

  # Texts for Notepad, with CR LF line ends.
  sed 's/$/\r/' COPYING >"$dist/files/COPYING.txt"
  sed 's/$/\r/' packaging/windows/LIESMICH.txt >"$dist/files/LIESMICH.txt"
  cp "$dist/zirkulon.exe" "$build/zirkulon.wxs" "$dist/files/"
  (cd "$dist/files" &&
    zip -q -X "../zirkulon-$version-windows-x64.zip" zirkulon.exe COPYING.txt LIESMICH.txt &&
    # wixl takes the files from the folder it runs in.
    wixl -a x64 -o "../zirkulon-$version-x64.msi" zirkulon.wxs)
  rm -rf "$dist/files"
}
