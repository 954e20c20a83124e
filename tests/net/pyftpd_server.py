"""A throw-away FTP server for the network tests.

Serves ROOT on 127.0.0.1 at a free port, prints the port on one line and runs until killed.
Logins: user "brikka" with password "secret", anonymous, and USER with PASSWORD when given;
all may read and write.

usage: pyftpd_server.py ROOT [USER PASSWORD]
"""
import logging
import sys
import warnings

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    root = sys.argv[1]
    warnings.simplefilter("ignore")  # anonymous write access is what the tests want
    logging.basicConfig(level=logging.CRITICAL)
    authorizer = DummyAuthorizer()
    authorizer.add_user("brikka", "secret", root, perm="elradfmwMT")
    authorizer.add_anonymous(root, perm="elradfmwMT")
    if len(sys.argv) == 4:
        authorizer.add_user(sys.argv[2], sys.argv[3], root, perm="elradfmwMT")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.banner = "brikka test server ready"
    handler.auth_failed_timeout = 0  # answer a wrong password at once
    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    main()
