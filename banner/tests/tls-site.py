# The https site of tls-namespace.sh: the files of a folder, each answer with its length, on
# threads of their own so that the page and a picture may be asked for at once.
import http.server
import ssl
import sys
from functools import partial

port, certificate, key, folder = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
handler = partial(http.server.SimpleHTTPRequestHandler, directory=folder)
server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(certificate, key)
server.socket = context.wrap_socket(server.socket, server_side=True)
server.serve_forever()
