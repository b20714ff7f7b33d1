#!/usr/bin/env bash
# stage-program.sh BIN STAGE OBJDUMP
# Lays out the program folder the installer packs, from the bin/ folder of
# the Windows build (which also holds test programs): the programs and the
# libraries of the product that are there, every DLL of bin/ they import
# (the C++ runtime among them), and the Skins, Sounds and Locale folders.
# The main program is packed when it has been built; the updater, the
# program killer, the runtime and the three folders are always required.
set -euo pipefail
bin=${1:?usage: stage-program.sh BIN STAGE OBJDUMP}
stage=${2:?usage: stage-program.sh BIN STAGE OBJDUMP}
objdump=${3:?usage: stage-program.sh BIN STAGE OBJDUMP}

required=(OrvUpdate.exe ORVKILLER.dll libstdc++-6.dll libwinpthread-1.dll)
optional=(Orvane.exe OrvHook.dll framework.dll controls.dll tree.dll OrvCtrls.dll skins.dll registry.dll
          connect.dll chat.dll locale.dll sounds.dll contactbook.dll diagclient.dll riched20.dll
          libgcc_s_dw2-1.dll libgcc_s_seh-1.dll)
folders=(Skins Sounds Locale)

rm -rf "$stage"
mkdir -p "$stage"
for f in "${required[@]}"; do
    [ -f "$bin/$f" ] || { echo "stage-program.sh: $bin/$f is missing" >&2; exit 1; }
    cp "$bin/$f" "$stage/"
done
for f in "${optional[@]}"; do
    if [ -f "$bin/$f" ]; then cp "$bin/$f" "$stage/"; fi
done
for d in "${folders[@]}"; do
    [ -d "$bin/$d" ] || { echo "stage-program.sh: $bin/$d is missing" >&2; exit 1; }
    cp -r "$bin/$d" "$stage/"
done

# Every DLL of bin/ that a staged file imports, until nothing new comes in;
# the rest of the imports are the system's.
added=1
while [ $added -eq 1 ]; do
    added=0
    for pe in "$stage"/*.exe "$stage"/*.dll; do
        [ -f "$pe" ] || continue
        for dll in $("$objdump" -p "$pe" | sed -n 's/^\s*DLL Name: //p'); do
            local_name=$(find "$bin" -maxdepth 1 -iname "$dll" -print -quit)
            if [ -n "$local_name" ] && [ ! -f "$stage/$(basename "$local_name")" ]; then
                cp "$local_name" "$stage/"
                added=1
            fi
        done
    done
done
echo "stage-program.sh: $(find "$stage" -type f | wc -l) files in $stage"
