"""Loss, delay, jitter and rate on the lab's links, for the fault tests.

The machine's kernel may lack the netem queueing discipline, so the lab impairs a link in
user space: a relay process in the namespace of one end of a veth pair takes every frame that
leaves that end (a tc egress filter redirects it to a TAP device the relay reads), holds or
drops it, and sends it on through a packet socket that bypasses the queueing layer, so it is
not redirected again. The frames reach the other end of the pair as before, only later or not
at all. Only IPv4 frames are impaired: ARP passes at once, so that a lost frame is always one
of the protocol, TCP or SMB and never a neighbour lookup.

  relay side "ws" of a link:  what the workstation sends (requests, files it writes)
  relay side "dev":           what the devices send (answers, files read back)

Each relay draws its losses and jitter from its own seeded generator: the same seed and the
same frames give the same losses. It writes one JSON line per impaired UDP frame to its log
(time, dropped, addresses, ports, the first payload bytes in hex), so a test can tell which
request copies or answers were lost.

scripts/lab starts a relay as
  ip netns exec NS python3 scripts/lab_netem.py --dev IF --tap TAP [--delay-ms N] [--jitter-ms N]
      [--loss PERCENT] [--rate-kbit N] [--limit-ms N] [--seed N] --log FILE --ready FILE
and stops it with SIGTERM; the relay removes its tc filter before it ends.
"""

import argparse
import fcntl
import heapq
import json
import os
import random
import select
import signal
import socket
import struct
import subprocess
import sys
import time

TUNSETIFF = 0x400454CA
IFF_TAP = 0x0002
IFF_NO_PI = 0x1000
SOL_PACKET = 263
PACKET_QDISC_BYPASS = 20
ETH_P_IP = 0x0800
IP_PROTOCOLS = {"tcp": 6, "udp": 17}
LOGGED_PAYLOAD_BYTES = 32


def run(args):
    return subprocess.run(args, stdin=subprocess.DEVNULL, capture_output=True, text=True)


def remove_filter(dev):
    """Removes the redirecting filter with its clsact qdisc; nothing to remove is no error."""
    run(["tc", "qdisc", "del", "dev", dev, "clsact"])


def open_tap(name):
    fd = os.open("/dev/net/tun", os.O_RDWR | os.O_CLOEXEC)
    fcntl.ioctl(fd, TUNSETIFF, struct.pack("16sH", name.encode(), IFF_TAP | IFF_NO_PI))
    # The TAP only carries redirected frames: no address, no IPv6 of its own.
    try:
        with open(f"/proc/sys/net/ipv6/conf/{name}/disable_ipv6", "w") as knob:
            knob.write("1")
    except OSError:
        pass
    result = run(["ip", "link", "set", "dev", name, "arp", "off", "up"])
    if result.returncode != 0:
        raise OSError(f"ip link set {name} up: {result.stderr.strip()}")
    return fd


def redirect(dev, tap):
    remove_filter(dev)
    for args in (["tc", "qdisc", "add", "dev", dev, "clsact"],
                 ["tc", "filter", "add", "dev", dev, "egress", "protocol", "all", "u32", "match", "u32", "0", "0",
                  "action", "mirred", "egress", "redirect", "dev", tap]):
        result = run(args)
        if result.returncode != 0:
            raise OSError(f"{' '.join(args)}: {result.stderr.strip()}")


def describe(frame):
    """Addresses, ports and the first payload bytes of a UDP frame; None for other frames."""
    if len(frame) < 14 + 20:
        return None
    header = 14
    ihl = (frame[header] & 0x0F) * 4
    if frame[header + 9] != 17 or len(frame) < header + ihl + 8:
        return None
    udp = header + ihl
    return {"src": socket.inet_ntoa(frame[header + 12:header + 16]),
            "dst": socket.inet_ntoa(frame[header + 16:header + 20]),
            "sport": int.from_bytes(frame[udp:udp + 2], "big"),
            "dport": int.from_bytes(frame[udp + 2:udp + 4], "big"),
            "payload": frame[udp + 8:udp + 8 + LOGGED_PAYLOAD_BYTES].hex()}


class Relay:
    def __init__(self, options):
        self.options = options
        self.random = random.Random(options.seed)
        self.queue = []  # (departure, order, frame)
        self.order = 0
        self.line_free_at = 0.0  # when the rate's serialisation of the last frame ends
        self.log = open(options.log, "a", buffering=1)

    def schedule(self, frame, now):
        if int.from_bytes(frame[12:14], "big") != ETH_P_IP:
            return self.push(now, frame)
        if self.options.only and len(frame) > 14 + 9 and frame[14 + 9] != IP_PROTOCOLS[self.options.only]:
            return self.push(now, frame)  # another protocol than the one impaired passes at once
        options = self.options
        dropped = options.loss > 0 and self.random.random() * 100 < options.loss
        departure = now
        if not dropped and options.rate_kbit > 0:
            start = max(now, self.line_free_at)
            if start - now > options.limit_ms / 1000:
                dropped = True  # the queue is full: tail drop, as a router's would
            else:
                self.line_free_at = start + len(frame) * 8 / (options.rate_kbit * 1000)
                departure = self.line_free_at
        if not dropped:
            jitter = self.random.uniform(-options.jitter_ms, options.jitter_ms) if options.jitter_ms else 0
            departure += max(0.0, options.delay_ms + jitter) / 1000
        udp = describe(frame)
        if udp is not None:
            self.log.write(json.dumps({"t": round(time.time(), 4), "dropped": dropped, "len": len(frame), **udp}) + "\n")
        if not dropped:
            self.push(departure, frame)

    def push(self, departure, frame):
        self.order += 1
        heapq.heappush(self.queue, (departure, self.order, frame))

    def serve(self, tap, out):
        while True:
            now = time.monotonic()
            while self.queue and self.queue[0][0] <= now:
                try:
                    out.send(heapq.heappop(self.queue)[2])
                except OSError:
                    pass  # the link went down: the frame is lost, as on a wire
            wait = max(0.0, self.queue[0][0] - now) if self.queue else None
            ready, _, _ = select.select([tap], [], [], wait)
            if ready:
                now = time.monotonic()
                # Everything waiting now, so that a burst is not served one select at a time.
                while True:
                    try:
                        frame = os.read(tap, 65536)
                    except BlockingIOError:
                        break
                    self.schedule(frame, now)


def main(argv):
    parser = argparse.ArgumentParser(description="user-space link impairment for the lab")
    parser.add_argument("--dev", required=True)
    parser.add_argument("--tap", required=True)
    parser.add_argument("--delay-ms", type=float, default=0)
    parser.add_argument("--jitter-ms", type=float, default=0)
    parser.add_argument("--loss", type=float, default=0)
    parser.add_argument("--rate-kbit", type=float, default=0)
    parser.add_argument("--limit-ms", type=float, default=500)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--only", choices=sorted(IP_PROTOCOLS), help="impair only this protocol's frames")
    parser.add_argument("--log", required=True)
    parser.add_argument("--ready", required=True)
    options = parser.parse_args(argv)

    def stop(_signal, _frame):
        remove_filter(options.dev)
        sys.exit(0)

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    tap = open_tap(options.tap)
    os.set_blocking(tap, False)
    out = socket.socket(socket.AF_PACKET, socket.SOCK_RAW)
    out.setsockopt(SOL_PACKET, PACKET_QDISC_BYPASS, 1)
    out.bind((options.dev, 0))
    redirect(options.dev, options.tap)
    with open(options.ready, "w") as ready:
        ready.write(f"{os.getpid()}\n")
    try:
        Relay(options).serve(tap, out)
    finally:
        remove_filter(options.dev)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
