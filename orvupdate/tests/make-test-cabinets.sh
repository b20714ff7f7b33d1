#!/usr/bin/env bash
# make-test-cabinets.sh OUT: the cabinet archives the updater's tests install,
# made with gcab: good ones, a big one (time to press Cancel), damaged,
# truncated and not-a-cabinet files, and hostile ones whose names climb out
# of the program folder, are absolute, or name devices.
set -euo pipefail
out=${1:?usage: make-test-cabinets.sh OUT}
rm -rf "$out"
mkdir -p "$out/work/Skins/Default" "$out/work/data"
cd "$out/work"

printf 'new program text\r\n' > Orvane.txt
printf '[Skin]\r\nName=Default\r\n' > Skins/Default/Skin.Ini
seq 1 60000 > data/numbers.txt
cat > changes.ini <<'INI'
[REMOVE_FILES]
obsolete.dll=
..\outside.txt=
[REMOVE_KEYS]
OldValue=
[ADD_KEYS]
Number=42
Negative=-1
Text="%ProgramFiles%\Orvane"
Single='single quoted'
INI
gcab -c -z "$out/good.cab" Orvane.txt Skins/Default/Skin.Ini changes.ini data/numbers.txt
gcab -c "$out/plain.cab" Orvane.txt Skins/Default/Skin.Ini
printf '[ADD_KEYS]\r\nCount=7\r\nLimit=300\r\n' > changes.ini
gcab -c -z "$out/numbers-only.cab" Orvane.txt changes.ini

# Big enough that extraction is still running when a test presses Cancel.
head -c 200M /dev/zero > big.bin
gcab -c -z "$out/big.cab" Orvane.txt big.bin
rm big.bin

printf 'This is not a cabinet archive.\r\n' > "$out/not-a-cabinet.cab"

# Hostile names: made with a placeholder of the same length, then patched,
# since gcab itself keeps names tidy.
placeholder=PPPPPPPPPPPPPPPPPPPP.txt
cp Orvane.txt "$placeholder"
gcab -c -z "$out/placeholder.cab" Orvane.txt "$placeholder"

python3 - "$out" "$placeholder" <<'PY'
import struct
import sys

out, placeholder = sys.argv[1], sys.argv[2].encode()
good = open(f"{out}/good.cab", "rb").read()

# Damaged: one byte of the first data block changed (its checksum no longer fits).
first_data = struct.unpack_from("<I", good, 36)[0]
damaged = bytearray(good)
damaged[first_data + 8 + 12] ^= 0x55
open(f"{out}/damaged.cab", "wb").write(damaged)

# Truncated: the directory is whole, the data is not.
open(f"{out}/truncated.cab", "wb").write(good[: len(good) * 6 // 10])
open(f"{out}/header-only.cab", "wb").write(good[:20])

template = open(f"{out}/placeholder.cab", "rb").read()
assert template.count(placeholder) == 1


def pad(prefix, suffix):
    name = prefix + "x" * (len(placeholder) - len(prefix) - len(suffix)) + suffix
    assert len(name) == len(placeholder), name
    return name.encode()


hostile = {
    "parent": pad("..\\", ".txt"),
    "parent-slash": pad("../", ".txt"),
    "nested-parent": pad("Skins\\..\\..\\", ".txt"),
    "absolute": pad("\\", ".txt"),
    "drive": pad("C:\\", ".txt"),
    "stream": pad("Orvane.txt:", ""),
    "device": pad("CON.", ".txt"),
    "nested-device": pad("Skins\\NUL.", ".txt"),
}
for label, name in hostile.items():
    open(f"{out}/hostile-{label}.cab", "wb").write(template.replace(placeholder, name))
PY
rm "$out/placeholder.cab"
cd "$out"
rm -rf work
