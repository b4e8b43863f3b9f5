#!/usr/bin/env python3
"""Sends one request out of a local address of the workstation namespace and prints the
answers that come back on that address as JSON lines ("from": the address each came from).
Run it inside the lab only (scripts/lab exec python3 tests/devsim/lab_probe.py ...): it
multicasts to 224.0.0.1.

  lab_probe.py --local 10.77.1.1 search
  lab_probe.py --local 10.77.1.1 query SUBCODE KEYHEX
  lab_probe.py --local 10.77.1.1 login KEYHEX USER PASSWORD
  lab_probe.py --local 10.77.1.1 set SUBCODE KEYHEX PAYLOAD [NETMASK GATEWAY]
  lab_probe.py --local 10.77.1.1 dhcp KEYHEX
"""

import argparse
import json
import os
import select
import socket
import struct
import sys
import time

GROUP = "224.0.0.1"
PORT = 13579
IP_PKTINFO = getattr(socket, "IP_PKTINFO", 8)
IP_MULTICAST_ALL = 49


def interface_of(address):
    """Index of the interface holding `address` (from `ip -o -4 addr`)."""
    for line in os.popen("ip -o -4 addr show").read().splitlines():
        fields = line.split()
        if fields[3].split("/")[0] == address:
            return socket.if_nametoindex(fields[1].split("@")[0])
    sys.exit(f"lab_probe: {address} is not an address of this namespace")


def receivers(local, ifindex):
    group = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    group.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    group.bind((GROUP, PORT))
    group.setsockopt(socket.IPPROTO_IP, IP_PKTINFO, 1)
    group.setsockopt(socket.IPPROTO_IP, IP_MULTICAST_ALL, 0)
    group.setsockopt(socket.IPPROTO_IP, socket.IP_ADD_MEMBERSHIP,
                     struct.pack("4s4si", socket.inet_aton(GROUP), socket.inet_aton(local), ifindex))
    unicast = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    unicast.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    unicast.bind((local, PORT))
    unicast.setsockopt(socket.IPPROTO_IP, IP_PKTINFO, 1)
    return [group, unicast]


def header(opcode, client_id):
    return bytes([opcode]) + client_id + bytes(4)


def device_part(key, subcode):
    return key + bytes([subcode, 0, 0])


def field16(text):
    data = text.encode()
    return data[:16] + bytes(16 - min(16, len(data)))


def build_request(args, client_id):
    if args.command == "search":
        return header(1, client_id)
    key = bytes.fromhex(args.key)
    if args.command == "query":
        return header(3, client_id) + device_part(key, args.subcode) + struct.pack("<I", 0)
    if args.command == "login":
        text = args.user.encode() + b"\x55\xaa" + args.password.encode()
        return header(3, client_id) + device_part(key, 4) + struct.pack("<I", len(text)) + text
    if args.command == "dhcp":
        return header(5, client_id) + device_part(key, 2) + bytes(32) + struct.pack("<I", 0)
    payload = args.payload.encode()
    return (header(5, client_id) + device_part(key, args.subcode) + field16(args.netmask) +
            field16(args.gateway) + struct.pack("<I", len(payload)) + payload)


def text_at(data, offset, width):
    field = data[offset:offset + width]
    return field.split(b"\0", 1)[0].decode(errors="replace")


def describe(data, client_id):
    answer = {"type": data[0], "len": len(data), "ours": data[1:7] == client_id, "hex": data.hex()}
    if len(data) >= 21:
        answer["key"] = data[11:21].hex()
        answer["address"] = ".".join(str(b) for b in data[17:21])
    layouts = {2: (56, 60), 7: (68, 72), 8: (100, 104)}
    if data[0] in layouts and len(data) >= layouts[data[0]][1]:
        length_at, name_at = layouts[data[0]]
        answer["dhcp"] = chr(data[21])
        answer["netmask"] = text_at(data, 24, 16)
        answer["gateway"] = text_at(data, 40, 16)
        if data[0] == 8:
            answer["model"] = text_at(data, 68, 32)
        (length,) = struct.unpack_from("<I", data, length_at)
        answer["name"] = data[name_at:name_at + length].decode(errors="replace")
    elif data[0] == 4 and len(data) >= 28:
        answer["value"] = data[28:].decode(errors="replace")
    return answer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--local", required=True)
    parser.add_argument("--wait", type=float, default=1.0)
    commands = parser.add_subparsers(dest="command", required=True)
    commands.add_parser("search")
    query = commands.add_parser("query")
    query.add_argument("subcode", type=int)
    query.add_argument("key")
    login = commands.add_parser("login")
    login.add_argument("key")
    login.add_argument("user")
    login.add_argument("password")
    setter = commands.add_parser("set")
    setter.add_argument("subcode", type=int)
    setter.add_argument("key")
    setter.add_argument("payload")
    setter.add_argument("netmask", nargs="?", default="")
    setter.add_argument("gateway", nargs="?", default="")
    dhcp = commands.add_parser("dhcp")
    dhcp.add_argument("key")
    args = parser.parse_args()

    ifindex = interface_of(args.local)
    sockets = receivers(args.local, ifindex)
    client_id = os.urandom(6)
    sender = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sender.setsockopt(socket.IPPROTO_IP, socket.IP_MULTICAST_LOOP, 0)
    sender.setsockopt(socket.IPPROTO_IP, socket.IP_MULTICAST_IF, socket.inet_aton(args.local))
    sender.sendto(build_request(args, client_id), (GROUP, PORT))

    deadline = time.monotonic() + args.wait
    while (left := deadline - time.monotonic()) > 0:
        readable, _, _ = select.select(sockets, [], [], left)
        for sock in readable:
            data, ancillary, _, sender_address = sock.recvmsg(65536, socket.CMSG_SPACE(12))
            arrived = None
            for level, kind, value in ancillary:
                if level == socket.IPPROTO_IP and kind == IP_PKTINFO:
                    arrived = struct.unpack_from("i", value)[0]
            if arrived == ifindex and data:
                print(json.dumps({**describe(data, client_id), "from": sender_address[0]}), flush=True)


if __name__ == "__main__":
    main()
