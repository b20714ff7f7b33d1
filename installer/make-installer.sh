#!/usr/bin/env bash
# make-installer.sh BIN OUT.exe STAGE VERSION SERVER_URL x86|amd64 OBJDUMP [MAKENSIS]
# Lays out the program folder from BIN in STAGE (stage-program.sh) and makes
# the installer OUT.exe from it with makensis and Orvane.nsi.
set -euo pipefail
usage="usage: make-installer.sh BIN OUT.exe STAGE VERSION SERVER_URL x86|amd64 OBJDUMP [MAKENSIS]"
bin=${1:?$usage}; out=${2:?$usage}; stage=${3:?$usage}; version=${4:?$usage}; url=${5:?$usage}
arch=${6:?$usage}; objdump=${7:?$usage}; makensis=${8:-makensis}
here=$(cd "$(dirname "$0")" && pwd)

"$here/stage-program.sh" "$bin" "$stage" "$objdump"
has_main=0
[ -f "$stage/Orvane.exe" ] && has_main=1
"$makensis" -V2 -NOCD "-DSTAGE=$stage" "-DOUTFILE=$out" "-DVERSION=$version" "-DSERVER_URL=$url" \
    "-DARCH=$arch" "-DHAS_MAIN=$has_main" "$here/Orvane.nsi"
echo "make-installer.sh: $out (main program packed: $has_main)"
