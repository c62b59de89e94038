# Sourced by the other scripts: makes sure the Debian packages the build needs are installed.
# As root it installs what is missing with apt-get; otherwise it prints the line to run.

# fonts-ipafont-gothic: the previews, pictures and fit checks of Japanese forms draw and measure
# their texts in it (DejaVu has no CJK glyphs).
VAQ_PACKAGES="cmake ninja-build g++ pkg-config libgtest-dev libbenchmark-dev libicu-dev libsqlite3-dev
  libxml2-dev libgettextpo-dev gettext libxml2-utils qt6-base-dev fonts-dejavu-core fonts-ipafont-gothic
  nlohmann-json3-dev libpq-dev xvfb xauth"

vaq_install_deps() {
  local missing="" pkg
  for pkg in $VAQ_PACKAGES "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing="$missing $pkg"
  done
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" = 0 ]; then
    echo "Installing:$missing" >&2
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq --no-install-recommends $missing >&2
  else
    echo "Missing Debian packages. Run as root:" >&2
    echo "  apt-get install -y$missing" >&2
    return 1
  fi
}

# Configures (once) and builds the tree into the given folder with extra CMake arguments.
vaq_build() {
  local dir=$1
  shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  fi
  cmake --build "$dir" -j "$(nproc)"
}
