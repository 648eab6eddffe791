# The emulated device: a Wine prefix of its own under build/device, with the product installed
# into \Program files\Tessaline the way the device's installer lays it out.

device_prefix() { echo "$here/build/device"; }

# Runs a Windows program in the device's prefix.
device_wine() {
  WINEPREFIX="$(device_prefix)" WINEARCH=win64 WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=d" wine "$@"
}

# The fonts a window of the device draws with that Wine does not find by itself: Marlett draws
# the caption buttons (minimize, close) and the options sheet's; without it they read "0 1 r".
device_fonts() {
  local fonts
  fonts="$(device_prefix)/drive_c/windows/Fonts"
  [ -f "$fonts/marlett.ttf" ] && return 0
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
}

# Makes the prefix on first use (about ten seconds).
device_init() {
  local prefix
  prefix="$(device_prefix)"
  [ -f "$prefix/system.reg" ] && [ -f "$prefix/drive_c/windows/system32/kernel32.dll" ] &&
    { device_fonts; return 0; }
  echo "== making the emulated device (a Wine prefix in $prefix)"
  mkdir -p "$prefix"
  WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=d" \
    wineboot -i >/dev/null 2>&1
  # Without a window manager under Xvfb, Wine waits on every top-level window it closes.
  device_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  WINEPREFIX="$prefix" wineserver -w
  device_fonts
}

# The device's system library: the device services TSDevice.dll lie in the system folder beside
# the system keyboard, where every program of the device (the emulator too) finds them.
device_system() {
  local system32
  system32="$(device_prefix)/drive_c/windows/system32"
  cp "$here/build/win/platform/TSDevice.dll" "$system32/TSDevice.dll"
}

# Copies the library and the data into the installation folder and registers what can be.
device_install() {
  local win="$here/build/win"
  local folder
  folder="$(device_prefix)/drive_c/Program files/Tessaline"
  echo "== installing into C:\\Program files\\Tessaline of the device"
  mkdir -p "$folder"
  rm -rf "$folder/Layouts"
  cp -r "$here/data/Layouts" "$folder/"
  mkdir -p "$folder/Languages"
  # The user's dictionaries (.usr) of an earlier run stay: they hold the words the user taught.
  cp "$here"/data/Languages/*.chr "$here"/data/Languages/*.voc "$here"/data/Languages/*.aid \
    "$folder/Languages/"
  cp "$win/Tessaline/runtime/Tessaline.dll" "$folder/"
  device_wine regsvr32 /s 'C:\Program files\Tessaline\Tessaline.dll' || {
    echo "   registering Tessaline.dll failed" >&2
    return 1
  }
  # Wine's server of this run had no display; a program with windows must not join it.
  WINEPREFIX="$(device_prefix)" wineserver -w
}

# Makes Tessaline the device's current input method through the device services, as the
# installer does at its end.
device_select_tessaline() {
  device_run "$here/build/win/emulator/emulator.exe" --select-im '{D29B81CD-2716-464C-AE72-61C143A16307}'
}

# Runs a Windows program in the device's prefix and waits for Wine to finish with it, so that an
# Xvfb display started around it can go away quietly.
device_run() {
  local status=0
  device_wine "$@" || status=$?
  WINEPREFIX="$(device_prefix)" wineserver -k >/dev/null 2>&1 || true
  return $status
}
