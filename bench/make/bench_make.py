#!/usr/bin/python3
"""Making a program of 40 distinct 1920 x 1080 JPEG pictures into 256 x 128 areas, next to
ImageMagick's `convert -resize 256x128!` on the same pictures in the same run.

Usage: bench_make.py BRIGHTLINE_CLI [WORK_DIR]
Prints seconds and peak memory of each side and the ratio (target: Brightline faster)."""
import json
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import time

PICTURES = 40


def run_measured(argv_list):
    """Runs the commands one after another; returns (seconds, peak RSS in MiB of the largest)."""
    start = time.perf_counter()
    for argv in argv_list:
        subprocess.run(argv, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    seconds = time.perf_counter() - start
    peak_kib = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
    return seconds, peak_kib / 1024.0


def main():
    cli = os.path.abspath(sys.argv[1])
    work = sys.argv[2] if len(sys.argv) > 2 else tempfile.mkdtemp(prefix="bench-make-")
    pictures = os.path.join(work, "pictures")
    os.makedirs(pictures, exist_ok=True)
    if len(os.listdir(pictures)) < PICTURES:
        # 40 distinct frames of a moving test pattern, as 1920 x 1080 JPEG files.
        subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                        "testsrc2=size=1920x1080:rate=5", "-frames:v", str(PICTURES), "-q:v", "3",
                        os.path.join(pictures, "p%02d.jpg")], check=True)
    paths = sorted(os.path.join(pictures, f) for f in os.listdir(pictures))[:PICTURES]

    element = lambda path: {"path": path, "thumbIndex": 0, "moveIn": 0, "moveOut": 0, "speed": 0,
                            "start": 0, "hold": 3, "barRect": [0, 0, 0, 0]}
    empty = {"path": "", "thumbIndex": -1, "moveIn": 0, "moveOut": 0, "speed": 0, "start": 0,
             "hold": 3, "barRect": [0, 0, 0, 0]}
    line = {"band": [0, 0, 0, 0], "selected": 0, "horizontal": 0, "role": 0, "endLineA": -1, "endLineB": -1}
    program = {"kind": "program", "ledWidth": 256, "ledHeight": 128, "areaFormat": 0,
               "regionLines": [line] * 8,
               "areaLists": [[empty] + [element(p) for p in paths], [empty], [empty], [empty]]}
    with open(os.path.join(work, "bench.json"), "w") as f:
        json.dump(program, f)
    subprocess.run([cli, "build", os.path.join(work, "bench.json"), os.path.join(work, "bench.ZPF")], check=True)

    env_workspace = os.path.join(work, "ws")
    ours = [[cli, "make", os.path.join(work, "bench.ZPF"), "--workspace", env_workspace]]
    magick_out = os.path.join(work, "magick")
    os.makedirs(magick_out, exist_ok=True)
    theirs = [["convert", p, "-resize", "256x128!", os.path.join(magick_out, os.path.basename(p))]
              for p in paths]

    # Each side in its own child process tree so the peak memory figures are separate.
    def measured(cmds):
        r, w = os.pipe()
        pid = os.fork()
        if pid == 0:
            os.close(r)
            seconds, peak = run_measured(cmds)
            os.write(w, json.dumps([seconds, peak]).encode())
            os._exit(0)
        os.close(w)
        data = b""
        while True:
            chunk = os.read(r, 4096)
            if not chunk:
                break
            data += chunk
        os.waitpid(pid, 0)
        return json.loads(data)

    measured(ours)  # warm the file cache once
    ours_s, ours_mb = measured(ours)
    theirs_s, theirs_mb = measured(theirs)
    made = len([f for f in os.listdir(env_workspace) if f.upper().endswith(".JPG")])
    print(f"bench/make: {PICTURES} pictures 1920x1080 -> 256x128 ({made} made)")
    print(f"  brightline-cli make        {ours_s:7.2f} s   peak {ours_mb:7.1f} MiB")
    print(f"  convert -resize 256x128!   {theirs_s:7.2f} s   peak {theirs_mb:7.1f} MiB")
    print(f"  ratio (ours / ImageMagick) {ours_s / theirs_s:7.2f}   target: below 1.00")
    if len(sys.argv) <= 2:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
