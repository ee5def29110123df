#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when one is missing.
# Quiet and quick when everything is already there.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config ccache
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libswresample-dev
  libavcodec-extra ffmpeg
  libgtest-dev libgmock-dev
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins fonts-dejavu-core
  qt6-multimedia-dev
  # The preview player plays through GStreamer: MP4/H.264 (good, bad, libav), AVI/MPEG-4 and
  # MP3 (good, libav), WMV/WMA (ugly: the ASF demuxer; libav: the decoders), WAV (good).
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav
  time
  locales  # locale sources: tests build a comma-decimal locale with localedef
  # `make package`: cpack's DEB generator reads the programs' library needs with
  # dpkg-shlibdeps (dpkg-dev) after `file` picked out the executables; the package test
  # checks the installed menu entry and metainfo with their validators.
  dpkg-dev file desktop-file-utils appstream
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
