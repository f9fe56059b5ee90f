#!/bin/sh
# What the end-to-end runs of the Windows programs need on this machine: Wine
# for 32-bit programs (which needs the i386 architecture), a virtual X display
# and the Czech UTF-8 locale (without it Wine mangles Czech arguments and file
# names, and its ANSI code page is not 1250).  Does nothing when all is there.
set -eu
here=$(dirname "$0")
if [ "$(id -u)" -eq 0 ]; then
  sudo=""
else
  sudo="sudo"
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "Adding the i386 architecture"
  $sudo dpkg --add-architecture i386
  # the package lists must know the new architecture before anything is installed
  $sudo apt-get update -qq
fi

"$here/ensure-packages.sh" wine wine32:i386 xvfb locales

if ! locale -a 2>/dev/null | grep -qix 'cs_CZ\.utf-\{0,1\}8'; then
  echo "Generating the locale cs_CZ.UTF-8"
  if grep -q '^# *cs_CZ\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    $sudo sed -i 's/^# *cs_CZ\.UTF-8 UTF-8/cs_CZ.UTF-8 UTF-8/' /etc/locale.gen
  elif ! grep -q '^cs_CZ\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'cs_CZ.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  fi
  $sudo locale-gen
fi
