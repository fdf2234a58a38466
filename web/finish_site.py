#!/usr/bin/env python3
"""Adds to the site what is drawn or computed from it: the home-screen icons,
drawn as the program's own icon is, and the service worker with the list of
the site's files and a cache name from their content.

    finish_site.py SITE service_worker.js
"""
import hashlib
import json
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "app" / "windows"))
import make_icon  # noqa: E402

ICON_SIZES = (192, 512)
WORKER = "service_worker.js"


def main(site, worker_source):
    site = pathlib.Path(site)
    for size in ICON_SIZES:
        (site / f"icon-{size}.png").write_bytes(make_icon.png(size))
    files = sorted(path.relative_to(site).as_posix() for path in site.rglob("*")
                   if path.is_file() and path.relative_to(site).as_posix() != WORKER)
    content = hashlib.sha256()
    for name in files:
        data = (site / name).read_bytes()
        content.update(f"{name}\0{len(data)}\0".encode())
        content.update(data)
    worker = pathlib.Path(worker_source).read_text()
    worker = worker.replace("@SITE_HASH@", content.hexdigest()[:16])
    # The page's own address too: a visit asks for the folder, not index.html.
    worker = worker.replace("@SITE_FILES@", ", ".join(json.dumps(name) for name in ["./", *files]))
    (site / WORKER).write_text(worker)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
