# The Debian packages the builds and tests need, installed when missing (as root).
tessaline_packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64 libwine-dev fonts-wine xvfb xauth fonts-liberation fonts-dejavu-core
  libsqlite3-dev libmarisa-dev
  # Header-only: command lines (the tool, the emulator) and the tool's JSON output.
  libcli11-dev nlohmann-json3-dev
  python3 valgrind
  # The window tests: real pointer events, screen pictures, a small window manager.
  xdotool x11-apps x11-utils openbox
)

ensure_packages() {
  local missing=()
  local p
  for p in "${tessaline_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages and not root: install them with apt-get install ${missing[*]}" >&2
    return 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq && apt-get install -y -qq "${missing[@]}" >/dev/null
}
