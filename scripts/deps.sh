# Installs the Debian packages the build, the editor and the tests need, when missing.
# Sourced by ./run and ./test.

TAMSEL_PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-tidy
  qt6-base-dev libqt6opengl6-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri libegl-dev libegl-mesa0
  libqt6svg6 adwaita-icon-theme xvfb xauth fonts-dejavu-core
  libgtest-dev libbenchmark-dev
  libassimp-dev libstb-dev libimagequant-dev libtinygltf-dev nlohmann-json3-dev libmeshoptimizer-dev
  desktop-file-utils libxml2-utils shared-mime-info xdg-utils libfile-mimeinfo-perl
  procps util-linux
)

tamsel_ensure_packages() {
  local missing=() pkg
  for pkg in "${TAMSEL_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$pkg")
  done
  # Node.js runs the reference glTF validator in the tests; a machine that has it from
  # elsewhere keeps its own.
  command -v node >/dev/null && command -v npm >/dev/null || missing+=(nodejs npm)
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo -n)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
}
