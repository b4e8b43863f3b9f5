#!/usr/bin/env python3
"""Floods the workstation's device port with datagrams that are not its answers, from a
device namespace: random bytes, answers of every type carrying other runs' ClientIds (and the
key of a real device, so that only the ClientId tells them apart), and datagrams of types no
answer has. Paced to --rate datagrams a second, to the workstation's address, the group or
both in turn; it ends by itself after --seconds and prints what it sent as one JSON line.

  flood.py --local 10.77.1.2 --workstation 10.77.1.1 --key 02000000...0a4d010a [--rate 3000]
           [--seconds 30] [--to unicast|group|both] [--seed 1] [--ready FILE]
"""

import argparse
import json
import random
import signal
import socket
import struct
import sys
import time

PORT = 13579
GROUP = "224.0.0.1"


def answer(kind, client_id, key, rng):
    header = bytes([kind]) + client_id + bytes(4) + key
    if kind in (2, 7, 8):  # a search answer of another run
        name = b"FLOOD-%d" % rng.randrange(1000)
        fields = b"255.255.255.0".ljust(16, b"\0") + b"10.77.1.1".ljust(16, b"\0")
        if kind == 2:
            return header + b"0\0\0" + fields + struct.pack("<I", len(name)) + name
        model = b"OFN-420".ljust(32, b"\0") if kind == 8 else b""
        return header + b"0\0\0" + fields + bytes([3, 3]) + bytes(10) + model + struct.pack("<I", len(name)) + name
    if kind == 4:  # a query answer of another run
        value = b"HDD_a:FLOOD"
        return header + bytes(3) + struct.pack("<I", len(value)) + value
    return header + bytes(3)  # a set answer, or a type that no answer has


def main(argv):
    parser = argparse.ArgumentParser()
    parser.add_argument("--local", required=True)
    parser.add_argument("--workstation", required=True)
    parser.add_argument("--key", required=True, help="10-byte device key in hex")
    parser.add_argument("--rate", type=float, default=3000)
    parser.add_argument("--seconds", type=float, default=30)
    parser.add_argument("--to", choices=("unicast", "group", "both"), default="both")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--ready")
    options = parser.parse_args(argv)
    key = bytes.fromhex(options.key)
    rng = random.Random(options.seed)

    sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sock.setsockopt(socket.IPPROTO_IP, socket.IP_MULTICAST_IF, socket.inet_aton(options.local))
    sock.setsockopt(socket.IPPROTO_IP, socket.IP_MULTICAST_LOOP, 0)
    sock.bind((options.local, 0))
    targets = {"unicast": [options.workstation], "group": [GROUP], "both": [options.workstation, GROUP]}[options.to]
    if options.ready:
        with open(options.ready, "w") as ready:
            ready.write("ready\n")

    sent = {"random": 0, "foreign_answer": 0, "other_type": 0, "errors": 0}
    start = time.monotonic()
    count = 0
    stopping = []
    signal.signal(signal.SIGTERM, lambda _signal, _frame: stopping.append(True))
    while not stopping:
        now = time.monotonic()
        if now - start >= options.seconds:
            break
        due = int((now - start) * options.rate)
        if count >= due:
            time.sleep(min(0.002, max(0.0, (count + 1) / options.rate - (now - start))))
            continue
        while count < due:
            choice = count % 3
            if choice == 0:
                datagram = bytes(rng.getrandbits(8) for _ in range(rng.randrange(1, 120)))
                kind = "random"
            elif choice == 1:
                datagram = answer(rng.choice((2, 4, 6, 7, 8)), rng.randbytes(6), key, rng)
                kind = "foreign_answer"
            else:
                datagram = answer(rng.choice((0, 1, 3, 5, 9, 42, 255)), rng.randbytes(6), key, rng)
                kind = "other_type"
            try:
                sock.sendto(datagram, (targets[count % len(targets)], PORT))
                sent[kind] += 1
            except OSError:
                sent["errors"] += 1
            count += 1
    print(json.dumps({"sent": sum(v for k, v in sent.items() if k != "errors"), **sent,
                      "seconds": round(time.monotonic() - start, 3)}), flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
