"""A real SMTP server for the mail tests, on a free port of the loopback or a given address.

Prints "PORT <n>" once it listens, then records to <dir>/events.jsonl, one JSON object a
line: what each connection's client sent ("c", base64) and got back ("s"), every message
accepted (envelope, raw bytes and what Python's own mail parser makes of them), and when
a connection ended. Modes:
  auth      AUTH LOGIN required, with the test account
  open      no authentication
  noehlo    refuses EHLO, so the client must fall back to HELO
  starttls  STARTTLS required, then AUTH LOGIN required
  greeting  greets with 554 and keeps listening
  silent    accepts the connection and never answers
  close     greets, then closes the connection at the client's first line
"""
import argparse
import asyncio
import base64
import email
import email.policy
import json
import socket
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

args = None
out = None
next_connection = 0


def record(**event):
    out.write(json.dumps(event) + "\n")
    out.flush()


def b64(data):
    return base64.b64encode(data).decode("ascii")


def parsed(data):
    msg = email.message_from_bytes(data, policy=email.policy.default)
    sender = msg["From"].addresses[0] if msg["From"] and msg["From"].addresses else None
    result = {
        "subject": str(msg["Subject"]) if msg["Subject"] is not None else None,
        "from_name": sender.display_name if sender else None,
        "from_address": sender.addr_spec if sender else None,
        "header_names": list(msg.keys()),
        "defects": [str(d) for d in msg.defects],
        "content_type": msg.get_content_type(),
        "charset": msg.get_content_charset(),
        "attachments": [],
    }
    body = msg.get_body(preferencelist=("plain",))
    if body is not None:
        result["body"] = body.get_content()
        result["body_charset"] = body.get_content_charset()
    for part in msg.iter_attachments():
        result["defects"] += [str(d) for d in part.defects]
        result["attachments"].append({
            "filename": part.get_filename(),
            "content_type": part.get_content_type(),
            "data": b64(part.get_payload(decode=True) or b""),
        })
    return result


class Handler:
    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("refused"):
            return "550 5.1.1 No such mailbox"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        record(conn=server.connection, event="message", mail_from=envelope.mail_from,
               rcpt_tos=envelope.rcpt_tos, login=(session.login_data or b"").decode("utf-8", "replace"),
               encrypted=session.ssl is not None, data=b64(envelope.original_content),
               parsed=parsed(envelope.original_content))
        return "250 2.0.0 Message accepted"


def authenticator(server, session, envelope, mechanism, auth_data):
    ok = (isinstance(auth_data, LoginPassword) and auth_data.login.decode() == args.user
          and auth_data.password.decode() == args.password)
    return AuthResult(success=ok, handled=False, auth_data=auth_data)


class RecordingSMTP(SMTP):
    def connection_made(self, transport):
        global next_connection
        if not hasattr(self, "connection"):
            next_connection += 1
            self.connection = next_connection
            record(conn=self.connection, event="open")
        super().connection_made(transport)

    def data_received(self, data):
        record(conn=self.connection, c=b64(data))
        super().data_received(data)

    async def push(self, status):
        record(conn=self.connection, s=status if isinstance(status, str) else status.decode())
        await super().push(status)

    def connection_lost(self, error):
        record(conn=self.connection, event="closed")
        super().connection_lost(error)

    async def smtp_EHLO(self, hostname):
        if args.mode == "noehlo":
            await self.push("502 5.5.1 EHLO not implemented")
            return
        await super().smtp_EHLO(hostname)


def smtp_factory():
    options = {"hostname": "tessaly.test", "auth_require_tls": False}
    if args.mode in ("auth", "starttls"):
        options.update(auth_required=True, authenticator=authenticator)
    if args.mode == "starttls":
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(args.cert, args.key)
        options.update(tls_context=context, require_starttls=True, auth_require_tls=True)
    return RecordingSMTP(Handler(), **options)


async def raw_client(reader, writer):
    global next_connection
    next_connection += 1
    conn = next_connection
    record(conn=conn, event="open")

    async def say(line):
        record(conn=conn, s=line)
        writer.write(line.encode() + b"\r\n")
        await writer.drain()

    try:
        if args.mode == "greeting":
            await say("554 5.3.2 Not accepting mail")
        elif args.mode == "close":
            await say("220 tessaly.test ESMTP")
        while True:
            data = await reader.read(4096)
            if not data:
                break
            record(conn=conn, c=b64(data))
            if args.mode == "close":
                break
    finally:
        writer.close()
        record(conn=conn, event="closed")


def main():
    global args, out
    parser = argparse.ArgumentParser()
    parser.add_argument("--mode", required=True)
    parser.add_argument("--dir", required=True)
    parser.add_argument("--user", default="")
    parser.add_argument("--password", default="")
    parser.add_argument("--bind", default="127.0.0.1")
    parser.add_argument("--cert")
    parser.add_argument("--key")
    args = parser.parse_args()
    out = open(args.dir + "/events.jsonl", "a", encoding="utf-8")

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind((args.bind, 0))
    listener.listen()
    if args.mode in ("greeting", "silent", "close"):
        server = loop.run_until_complete(asyncio.start_server(raw_client, sock=listener))
    else:
        server = loop.run_until_complete(loop.create_server(smtp_factory, sock=listener))
    print("PORT", listener.getsockname()[1], flush=True)
    # Ends when the test closes our standard input, or kills us.
    loop.run_until_complete(loop.run_in_executor(None, sys.stdin.read))
    server.close()


if __name__ == "__main__":
    main()
