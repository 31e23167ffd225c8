# Sourced by scripts/run and scripts/test: installs the Debian packages the build needs.
# shellcheck shell=bash

tilt_packages=(
  cmake g++ make pkg-config
  qtbase5-dev qtbase5-dev-tools libqt5serialport5-dev qttools5-dev qttools5-dev-tools
  libxlsxwriter-dev libqcustomplot-dev
  python3 python3-openpyxl
  openssl
  fonts-wqy-microhei
)
# The Qt 6 build (-DTILT_QT_MAJOR=6), which scripts/test runs beside the Qt 5 one.
tilt_qt6_packages=(
  qt6-base-dev qt6-serialport-dev qt6-tools-dev qt6-l10n-tools libqcustomplot2.1-qt6
  qt6-qpa-plugins # the X11 and Wayland platforms, only recommended by Qt 6 GUI; tests need none
)
# scripts/fuzz (and scripts/test through it): clang with libFuzzer and the sanitizer runtimes.
tilt_fuzz_packages=(clang libclang-rt-14-dev)
# scripts/package: the manual pages (help2man), what CPack's Debian generator runs (dpkg-shlibdeps,
# file) and the package's checks (lintian, desktop-file-validate, appstreamcli).
tilt_package_packages=(help2man dpkg-dev file lintian desktop-file-utils appstream)

tilt_install_deps() {
  local extra=("$@") missing=() pkg
  for pkg in "${tilt_packages[@]}" "${extra[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
      || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing Debian packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null; then sudo=(sudo); else
      echo "Please install as root: apt-get install ${missing[*]}" >&2; return 1
    fi
  fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
}

tilt_jobs() {
  nproc 2>/dev/null || echo 2
}
