#!/usr/bin/python3
"""Making a program of camera-size JPEG photos (4000 x 3000) into a 256 x 128 area, on 40 and on
300 photos, next to vipsthumbnail making the same 256 x 128 pictures in one process, in the same
run. Make converts on every core; vipsthumbnail uses its own threads.

Usage: bench_make.py BRIGHTLINE_CLI [PHOTO_FOLDER]
The photos are made once by ffmpeg into PHOTO_FOLDER (default: bench-cache/photos beside the
program's build folder, the folder bench/thumbnails uses) and reused by later runs. Needs ffmpeg
and vipsthumbnail (package libvips-tools). Prints seconds and peak memory of each side, their
ratio (target: at most 0.70 on two cores), the cores and the load average."""
import json
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import time

PHOTOS = 300
SIZES = (40, 300)


def make_photos(folder):
    os.makedirs(folder, exist_ok=True)
    paths = [os.path.join(folder, "photo%03d.jpg" % i) for i in range(1, PHOTOS + 1)]
    if all(os.path.exists(p) for p in paths):
        return paths
    print(f"making {PHOTOS} photos of 4000 x 3000 in {folder} (once) ...", flush=True)
    subprocess.run(["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi",
                    "-i", f"testsrc2=size=4000x3000:rate=1:duration={PHOTOS}",
                    "-vf", "noise=alls=12:allf=t", "-q:v", "3", "-start_number", "1",
                    os.path.join(folder, "photo%03d.jpg")], check=True)
    return paths


def measured(argv):
    """Runs the command in a child process of its own; (seconds, peak RSS in MiB)."""
    r, w = os.pipe()
    pid = os.fork()
    if pid == 0:
        os.close(r)
        start = time.perf_counter()
        subprocess.run(argv, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        seconds = time.perf_counter() - start
        peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024.0
        os.write(w, json.dumps([seconds, peak]).encode())
        os._exit(0)
    os.close(w)
    data = b""
    while True:
        chunk = os.read(r, 4096)
        if not chunk:
            break
        data += chunk
    _, status = os.waitpid(pid, 0)
    if status != 0 or not data:
        sys.exit("bench_make: " + " ".join(argv[:2]) + " failed")
    return json.loads(data)


def program_json(paths):
    element = lambda path: {"path": path, "thumbIndex": 0, "moveIn": 0, "moveOut": 0, "speed": 0,
                            "start": 0, "hold": 3, "barRect": [0, 0, 0, 0]}
    empty = dict(element(""), thumbIndex=-1)
    line = {"band": [0, 0, 0, 0], "selected": 0, "horizontal": 0, "role": 0, "endLineA": -1,
            "endLineB": -1}
    return {"kind": "program", "ledWidth": 256, "ledHeight": 128, "areaFormat": 0,
            "regionLines": [line] * 8,
            "areaLists": [[empty] + [element(p) for p in paths], [empty], [empty], [empty]]}


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    cli = os.path.abspath(sys.argv[1])
    default_cache = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(cli))),
                                 "bench-cache", "photos")
    photos = make_photos(sys.argv[2] if len(sys.argv) > 2 else default_cache)
    work = tempfile.mkdtemp(prefix="bench-make-")
    try:
        print(f"bench/make: camera photos 4000x3000 -> 256x128 JPEG, {os.cpu_count()} cores, "
              f"load average {os.getloadavg()[0]:.2f} at the start")
        for count in SIZES:
            paths = photos[:count]
            with open(os.path.join(work, "bench.json"), "w") as f:
                json.dump(program_json(paths), f)
            zpf = os.path.join(work, "bench.ZPF")
            subprocess.run([cli, "build", os.path.join(work, "bench.json"), zpf], check=True,
                           stdout=subprocess.DEVNULL)
            workspace = os.path.join(work, "ws")
            vips_out = os.path.join(work, "vips")
            shutil.rmtree(vips_out, ignore_errors=True)
            os.makedirs(vips_out)
            ours = [cli, "make", zpf, "--workspace", workspace]
            theirs = ["vipsthumbnail", "-s", "256x128!", "-o",
                      os.path.join(vips_out, "%s.jpg")] + paths
            subprocess.run(["cat"] + paths, check=True, stdout=subprocess.DEVNULL)  # file cache
            ours_s, ours_mb = measured(ours)
            theirs_s, theirs_mb = measured(theirs)
            made = len([f for f in os.listdir(workspace) if f.upper().endswith(".JPG")])
            vips_made = len(os.listdir(vips_out))
            print(f"  {count} photos ({made} made by us, {vips_made} by vipsthumbnail)")
            print(f"    brightline-cli make          {ours_s:7.2f} s   peak {ours_mb:7.1f} MiB")
            print(f"    vipsthumbnail -s 256x128!    {theirs_s:7.2f} s   peak {theirs_mb:7.1f} MiB")
            print(f"    ratio (ours / vipsthumbnail) {ours_s / theirs_s:7.2f}   target: at most 0.70")
        print(f"  load average {os.getloadavg()[0]:.2f} at the end")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
