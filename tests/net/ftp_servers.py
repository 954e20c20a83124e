"""Throw-away FTP servers for the network tests.

Serves ROOT on 127.0.0.1 at a free port, prints the port on one line (or, when it cannot
run here, why not) and runs until killed.

usage: ftp_servers.py pyftpdlib ROOT [USER PASSWORD]
  user "brikka" with password "secret", anonymous, and USER with PASSWORD when given; all
  may read and write.
usage: ftp_servers.py vsftpd ROOT
  anonymous only, writing in ROOT/pub (vsftpd refuses a writable anonymous root). One
  vsftpd per connection, in its inetd mode, on a listening socket of our own: no port is
  chosen, let go and handed over, where another test's socket could take it meanwhile.
"""
import os
import signal
import socket
import subprocess
import sys
import warnings

VSFTPD = "/usr/sbin/vsftpd"


def pyftpdlib(root, logins):
    import logging
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.servers import FTPServer

    warnings.simplefilter("ignore")  # anonymous write access is what the tests want
    logging.basicConfig(level=logging.CRITICAL)
    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(root, perm="elradfmwMT")
    for user, password in [("brikka", "secret")] + ([tuple(logins)] if logins else []):
        authorizer.add_user(user, password, root, perm="elradfmwMT")
    FTPHandler.authorizer = authorizer
    FTPHandler.banner = "brikka test server ready"
    FTPHandler.auth_failed_timeout = 0  # answer a wrong password at once
    server = FTPServer(("127.0.0.1", 0), FTPHandler)
    print(server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


def vsftpd(root, _):
    if os.geteuid() != 0 or not os.access(VSFTPD, os.X_OK):
        return print("vsftpd needs root" if os.geteuid() else "vsftpd is not installed")
    os.chmod(root, 0o755)
    os.makedirs(root + "/pub", 0o777)
    os.chmod(root + "/pub", 0o777)
    os.makedirs(root + "/.empty")
    config = root + "/.vsftpd.conf"
    with open(config, "w") as out:
        for key in ["anonymous_enable", "write_enable", "anon_upload_enable", "anon_mkdir_write_enable",
                    "anon_other_write_enable", "ascii_upload_enable", "ascii_download_enable"]:
            out.write(key + "=YES\n")
        out.write(f"anon_world_readable_only=NO\nseccomp_sandbox=NO\nanon_root={root}\n"
                  f"secure_chroot_dir={root}/.empty\n")
    os.setpgrp()  # the sessions go with us
    signal.signal(signal.SIGTERM, lambda *_: os.killpg(0, signal.SIGKILL))
    signal.signal(signal.SIGCHLD, signal.SIG_IGN)  # and are reaped as they end
    listener = socket.create_server(("127.0.0.1", 0))
    print(listener.getsockname()[1], flush=True)
    while True:
        connection, _ = listener.accept()
        subprocess.Popen([VSFTPD, config], stdin=connection, stdout=connection,
                         stderr=subprocess.DEVNULL)
        connection.close()


if __name__ == "__main__":
    {"pyftpdlib": pyftpdlib, "vsftpd": vsftpd}[sys.argv[1]](sys.argv[2], sys.argv[3:])
