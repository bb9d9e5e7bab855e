#!/usr/bin/env bash
# Builds the browser build's third-party libraries (libogg, libvorbis with
# vorbisfile, FreeType) for WebAssembly from Debian's own source packages, into
# a cache that "make web" links against:
#   scripts/build-web-deps.sh [BUILD_DIR]     (default: build-web)
# The result is BUILD_DIR/deps/prefix (include/, lib/). Idempotent: when that
# cache is complete it does nothing. Needs "scripts/install-deps.sh --web".
#
# emscripten's own ports download their sources, which this machine cannot, so
# the sources come through apt with a private state (its own sources list with
# the system's Debian archives as deb-src, its own lists and cache): the
# system's apt configuration is never touched.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-$root/build-web}
mkdir -p "$build_dir"
build_dir=$(cd "$build_dir" && pwd)
deps=$build_dir/deps
prefix=$deps/prefix
stamp=$prefix/.complete
libraries=(libogg libvorbis freetype)
jobs=${JOBS:-$(nproc)}

if [ -f "$stamp" ]; then
  echo "build-web-deps.sh: up to date in $prefix ($(paste -sd ' ' "$stamp"))"
  exit 0
fi
for tool in emcmake emmake apt-get dpkg-source; do
  command -v "$tool" >/dev/null 2>&1 || {
    echo "build-web-deps.sh: $tool is missing; run scripts/install-deps.sh --web" >&2; exit 1; }
done

# The system's sources of this release, as deb-src entries: one-line files and
# deb822 stanzas alike. Other releases (backports) and other archives are left
# out, so the versions are the ones the desktop build uses.
write_source_lists() {
  local out=$1 codename
  # shellcheck source=/dev/null
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || { echo "build-web-deps.sh: no VERSION_CODENAME in /etc/os-release" >&2; exit 1; }
  local list; list=$(apt-config shell L Dir::Etc::sourcelist/f | sed -n "s/^L='\(.*\)'$/\1/p")
  local parts; parts=$(apt-config shell P Dir::Etc::sourceparts/d | sed -n "s/^P='\(.*\)'$/\1/p")
  mkdir -p "$out/sources.list.d"
  rm -f "$out"/sources.list.d/*
  local suites="^$codename(-updates|-security)?$"
  # The awk programs are single-quoted for awk's own $ fields.
  # "deb [options] URI SUITE COMPONENTS..."
  # shellcheck disable=SC2016
  local one_line='$1 == "deb" { i = 2; if ($2 ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
                                if ($(i + 1) ~ re) { $1 = "deb-src"; print } }'
  # Stanzas of "Field: value" lines, continuation lines indented.
  # shellcheck disable=SC2016
  local deb822='
    function flush() {
      if (types ~ /(^| )deb( |$)/ && kept != "" && enabled !~ /^no$/) {
        for (j = 1; j <= n; j++)
          print (j == typesLine ? "Types: deb-src" : j == suitesLine ? "Suites:" kept : line[j])
        print ""
      }
      n = 0; types = ""; kept = ""; enabled = ""
    }
    /^#/ { next }
    /^[ \t]*$/ { flush(); next }
    {
      line[++n] = $0
      if (tolower($1) == "types:") { typesLine = n; types = substr($0, index($0, ":") + 1) }
      if (tolower($1) == "enabled:") enabled = $2
      if (tolower($1) == "suites:") {
        suitesLine = n
        for (k = 2; k <= NF; k++) if ($k ~ re) kept = kept " " $k
      }
    }
    END { flush() }'
  [ -f "$list" ] && awk -v re="$suites" "$one_line" "$list" >"$out/sources.list"
  touch "$out/sources.list"
  local f
  for f in "$parts"/*.list; do
    [ -f "$f" ] && awk -v re="$suites" "$one_line" "$f" >>"$out/sources.list"
  done
  for f in "$parts"/*.sources; do
    [ -f "$f" ] && awk -v re="$suites" "$deb822" "$f" >"$out/sources.list.d/$(basename "$f")"
  done
  grep -qs . "$out/sources.list" "$out"/sources.list.d/* || {
    echo "build-web-deps.sh: no Debian $codename archive found in the apt sources" >&2; exit 1; }
}

# Unpacks each source package into $deps/src/<name>/ (the tree apt names <name>-<version>).
fetch_sources() {
  local apt_dir=$deps/apt
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$deps/src"
  write_source_lists "$apt_dir"
  local opts=(-q -o "Dir::Etc::SourceList=$apt_dir/sources.list"
    -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
    -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache=" -o "APT::Sandbox::User=root")
  apt-get "${opts[@]}" update
  local name
  for name in "${libraries[@]}"; do
    if ! compgen -G "$deps/src/$name/$name-*/CMakeLists.txt" >/dev/null; then
      rm -rf "$deps/src/$name"
      mkdir -p "$deps/src/$name"
      (cd "$deps/src/$name" && apt-get "${opts[@]}" source "$name")
    fi
  done
}

source_tree() {
  local tree
  tree=$(compgen -G "$deps/src/$1/$1-*/CMakeLists.txt" | head -n 1)
  dirname "$tree"
}

# Configures, builds and installs one CMake project into the prefix.
build_one() {
  local name=$1; shift
  local src; src=$(source_tree "$name")
  rm -rf "$deps/build/$name"
  emcmake cmake -S "$src" -B "$deps/build/$name" --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF "$@"
  emmake cmake --build "$deps/build/$name" -j "$jobs"
  cmake --install "$deps/build/$name"
}

start=$(date +%s)
fetch_sources
# libogg's type-size checks run their test programs through node, and this
# emscripten's programs do not run under a Node.js with a global fetch (18 on):
# the sizes are preset, WebAssembly's being the usual ones.
ogg_sizes=()
for check in INT16_SIZE=2 UINT16_SIZE=2 U_INT16_SIZE=2 INT32_SIZE=4 UINT32_SIZE=4 U_INT32_SIZE=4 \
             INT64_SIZE=8 SHORT_SIZE=2 INT_SIZE=4 LONG_SIZE=4 LONG_LONG_SIZE=8; do
  ogg_sizes+=("-DHAVE_${check%=*}=TRUE" "-D$check")
done
build_one libogg -DINSTALL_DOCS=OFF "${ogg_sizes[@]}"
build_one libvorbis
# Only the font formats the game loads (TrueType/OpenType); no compression or
# shaping libraries exist for the web build.
build_one freetype -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON

for name in "${libraries[@]}"; do
  basename "$(source_tree "$name")"
done >"$stamp"
echo "build-web-deps.sh: built $(paste -sd ' ' "$stamp") in $(($(date +%s) - start)) s into $prefix"
