#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian 12 machine,
# and nothing that is already there.
set -euo pipefail

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

packages=(
  cmake ninja-build g++ make          # the native build
  clang libclang-rt-14-dev            # the fuzz targets: libFuzzer and the sanitizers' runtimes
  clang-format clang-tidy python3     # the layout and lint gates (run-clang-tidy is Python)
  googletest libgtest-dev             # GoogleTest: sources for the cross build, library natively
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix  # the Windows builds
  wine wine64 wine32:i386             # the Windows tests, x86_64 and i686
  xvfb openbox                        # a display for the window, and a window manager
  xdotool x11-utils imagemagick       # keystrokes, window properties, screenshots
  fonts-wine                          # Wine's own fonts ("MS Sans Serif"), copied into the prefix
  locales                             # a Polish locale for the native locale tests
  python3                             # the package's zip (make dist) and its check in make test
)

# The i686 build runs under 32-bit Wine, which comes from the i386 architecture.
update_needed=""
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  update_needed=1
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ] || [ -n "$update_needed" ]; then
  $sudo apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# pl_PL.UTF-8 lets the native suite see a Polish decimal symbol like Windows does.
if ! locale -a 2>/dev/null | grep -qi '^pl_PL\.utf-\?8$'; then
  $sudo sed -i 's/^# *\(pl_PL.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^pl_PL.UTF-8 UTF-8' /etc/locale.gen || echo 'pl_PL.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
