#!/usr/bin/python3
"""Serves a folder as a plain static site on 127.0.0.1, as the browser build
expects of any file server: no cross-origin isolation headers, and the MIME
types a browser insists on (WebAssembly is compiled while it streams in only
when served as application/wasm).

  serve-web.py DIR            a free port chosen by the system
  serve-web.py DIR --port N   port N, or the next free one after it

The first line printed has the address to open; then a line per request, on stderr.
Runs until interrupted.
"""
import argparse
import errno
import functools
import http.server
import os
import sys

TYPES = {
    ".html": "text/html",
    ".js": "text/javascript",
    ".wasm": "application/wasm",
    ".data": "application/octet-stream",
    ".png": "image/png",
    ".webmanifest": "application/manifest+json",
}
PORTS_TRIED = 100


class Handler(http.server.SimpleHTTPRequestHandler):
    # Debian's minimal images have no /etc/mime.types to fall back on.
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **TYPES}


def listen(directory, port):
    handler = functools.partial(Handler, directory=directory)
    last = port + PORTS_TRIED if port else 1
    for candidate in range(port, last):
        try:
            return http.server.ThreadingHTTPServer(("127.0.0.1", candidate), handler)
        except OSError as error:
            if error.errno != errno.EADDRINUSE:
                raise
    sys.exit("serve-web.py: ports %d to %d are all taken" % (port, last - 1))


def main():
    parser = argparse.ArgumentParser(description="Serves a folder as a static site on 127.0.0.1.")
    parser.add_argument("directory")
    parser.add_argument("--port", type=int, default=0, help="the first port to try (default: any free one)")
    args = parser.parse_args()
    if not os.path.isdir(args.directory):
        sys.exit("serve-web.py: no folder %s" % args.directory)
    server = listen(args.directory, args.port)
    print("serve-web.py: open http://127.0.0.1:%d/ (serving %s; Ctrl-C stops)"
          % (server.server_address[1], args.directory), flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
