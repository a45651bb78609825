#!/usr/bin/env python3
"""Makes the release archive NAME.zip in OUTDIR, holding NAME/tessary.exe and
NAME/README.txt, and beside it NAME.sha256: the SHA-256 sums of the archive
and of the program in it, in the format that `sha256sum -c` reads once the
archive is unpacked beside it. Given a BUILDINFO file, it is copied beside the
archive as NAME.buildinfo and its sum is listed too.

The same inputs give the same bytes, whoever makes it, wherever and whenever:
the entries keep this order, carry one time (SOURCE_DATE_EPOCH, else the time
of the source tree's last commit, else 1980-01-01) and no owner or
permissions of the build machine.

    release-archive.py OUTDIR NAME SOURCEDIR PROGRAM README [BUILDINFO]
"""
import hashlib
import os
import shutil
import subprocess
import sys
import time
import zipfile

EARLIEST_ZIP_TIME = 315532800  # 1980-01-01 00:00:00 UTC


def archive_time(source_dir):
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        commit = subprocess.run(["git", "-C", source_dir, "log", "-1", "--format=%ct"],
                                capture_output=True, text=True, check=True).stdout
        return int(commit)
    except (OSError, subprocess.CalledProcessError, ValueError):
        return EARLIEST_ZIP_TIME


def entry(name, seconds):
    info = zipfile.ZipInfo(name, date_time=time.gmtime(max(seconds, EARLIEST_ZIP_TIME))[:6])
    # Made on "MS-DOS": no Unix owner or mode travels with the files.
    info.create_system = 0
    info.external_attr = 0
    info.compress_type = zipfile.ZIP_DEFLATED
    return info


def sha256(path):
    with open(path, "rb") as file:
        return hashlib.sha256(file.read()).hexdigest()


def main(out_dir, name, source_dir, program, readme, buildinfo=""):
    os.makedirs(out_dir, exist_ok=True)
    archive = os.path.join(out_dir, name + ".zip")
    seconds = archive_time(source_dir)
    with zipfile.ZipFile(archive, "w") as zip_file:
        for inside, path in ((name + "/tessary.exe", program), (name + "/README.txt", readme)):
            with open(path, "rb") as file:
                zip_file.writestr(entry(inside, seconds), file.read(), compresslevel=9)
    listed = [(archive, name + ".zip"), (program, name + "/tessary.exe")]
    if buildinfo:
        beside = os.path.join(out_dir, name + ".buildinfo")
        shutil.copyfile(buildinfo, beside)
        listed.append((beside, name + ".buildinfo"))
    with open(os.path.join(out_dir, name + ".sha256"), "w", newline="\n") as sums:
        for path, listed_name in listed:
            sums.write(f"{sha256(path)}  {listed_name}\n")
    print(f"{archive}\n{os.path.join(out_dir, name + '.sha256')}")


if __name__ == "__main__":
    if len(sys.argv) not in (6, 7):
        sys.exit(__doc__)
    main(*sys.argv[1:])
