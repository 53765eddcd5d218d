# The virtual sign's FTP server: pyftpdlib rooted in the sign's storage, anonymous with write
# permission, names with backslashes taken as folders ("DATA1\name" is DATA1/name), bound to
# the given address and port (0: any free one). Prints "PORT <n>" once it listens.
# --cut-after N --cut-count K: the first K uploads (K < 0: every upload) are cut off after N bytes.
import argparse
import logging
import warnings

warnings.filterwarnings("ignore")

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer

parser = argparse.ArgumentParser()
parser.add_argument("--root", required=True)
parser.add_argument("--host", default="127.0.0.1")
parser.add_argument("--port", type=int, default=0)
parser.add_argument("--cut-after", type=int, default=-1)
parser.add_argument("--cut-count", type=int, default=-1)
args = parser.parse_args()
cuts_left = [args.cut_count]


class SignFS(AbstractedFS):
    def ftpnorm(self, ftppath):
        return AbstractedFS.ftpnorm(self, ftppath.replace("\\", "/"))


class CuttingDTP(DTPHandler):
    def handle_read(self):
        DTPHandler.handle_read(self)
        if (args.cut_after >= 0 and self.receive and not self._closed
                and self.tot_bytes_received > args.cut_after and cuts_left[0] != 0):
            cuts_left[0] -= 1
            self._resp = ("426 Connection cut; transfer aborted.", logging.warning)
            self.close()

    handle_read_event = handle_read


authorizer = DummyAuthorizer()
authorizer.add_anonymous(args.root, perm="elradfmwMT")
handler = FTPHandler
handler.authorizer = authorizer
handler.abstracted_fs = SignFS
handler.dtp_handler = CuttingDTP
handler.permit_foreign_addresses = False
logging.basicConfig(level=logging.ERROR)
server = FTPServer((args.host, args.port), handler)
print("PORT %d" % server.socket.getsockname()[1], flush=True)
server.serve_forever(timeout=0.5)
