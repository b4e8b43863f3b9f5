"""The real servers of the lab's devices: a private smbd with one share per volume (the
one named by the device's share_name holding the add-on folders of its family), speaking the
SMB dialects and listening on the ports of the device's age (smb_protocol, smb_ports), an
nmbd beside it that answers NetBIOS name queries for the device's name (the only way the
workstation learns that name), and a lighttpd serving the device's web page (http on 80,
https on 443 as well when its "ssl" field contains "1"), each bound to the device's own
address inside the device namespace that holds that address.

Several devices share a device namespace, and nmbd binds UDP 137 and 138: each device's
nmbd binds its own address and the subnet's broadcast address (shared through
SO_REUSEADDR), sends from its own address ("nbt client socket address") and never joins
browser elections, so every nmbd answers broadcast queries for its own name only.

Everything a server needs lives under STATE_DIR/devices/NAME/. Names from the config go
into smb.conf, lighttpd.conf, the certificate and the page only after the checks below;
a volume whose name can't be a share, and a device whose name can't be used at all, gets
no server and the lab's log says why. Programs start from argument vectors, never from a
shell command line.
"""

import html
import ipaddress
import json
import os
import re
import shutil
import signal
import subprocess
import time
from pathlib import Path

import lab_processes

SCRIPTS = Path(__file__).resolve().parent
SMBD_START = SCRIPTS / "lab-smbd-start"

DEVICE_NAME = re.compile(r"[A-Za-z0-9][A-Za-z0-9_.-]{0,62}")
WORKGROUP = re.compile(r"[A-Za-z0-9][A-Za-z0-9_.-]{0,14}")
SHARE_NAME = re.compile(r"[A-Za-z0-9_.$-]{1,80}")
# Device names that nmbd can register: at most 15 characters and no dot (a dot would make the
# name a DNS-style one that NetBIOS name resolution never answers).
NETBIOS_NAME = re.compile(r"[A-Za-z0-9][A-Za-z0-9_-]{0,14}")
SMB_PROTOCOLS = ("modern", "NT1")
SMB_PORTS = (445, 139)
NETBIOS_PREFIX = 24  # every device sees its subnet as a /24, as the lab's links are
RESERVED_SHARES = {"global", "homes", "printers", "ipc$"}
USER_NAME = re.compile(r"[A-Za-z][A-Za-z0-9_.-]{0,31}")
RESERVED_USERS = {"root", "nobody", "admin"}
PASSWORD = re.compile(r"[\x20-\x7e]{1,64}")
# Paths written into the servers' configs: nothing that smb.conf would substitute (%) or
# that would end a quoted lighttpd string.
CONFIG_PATH = re.compile(r"/[A-Za-z0-9_./+,@=-]*")
FIRST_SHARE_UID = 4242
MIN_SHARE_KIB, MAX_SHARE_KIB = 16, 1024 * 1024
# The folders the utility's add-on installation copies into, by the family of the share it
# is told (share_name, any case); the installation never creates them itself.
ADDON_FOLDERS = {"hdd_a": [".codepages", "Nas_Prog/BT"], "hdd_1": [".systemfile/.codepages", "Nas_Prog/BT"]}

SMBD_NAMES = {"smbd", "ip", "unshare", SMBD_START.name[:15]}
LIGHTTPD_NAMES = {"lighttpd", "ip"}
NMBD_NAMES = {"nmbd", "ip"}
PROCESS_NAMES = {"smbd": SMBD_NAMES, "nmbd": NMBD_NAMES, "lighttpd": LIGHTTPD_NAMES}


class ServerConfigError(ValueError):
    pass


# ---- config fields ------------------------------------------------------------------------

def read_server_fields(device):
    """The fields of one device object that the servers use, checked as the simulator's
    loader checks them. Raises ServerConfigError("field ...: why")."""
    volumes = device.get("volumes", [])
    if not isinstance(volumes, list) or not all(isinstance(v, str) for v in volumes):
        raise ServerConfigError("field \"volumes\": expected a list of texts")
    fields = {"volumes": volumes}
    for field, default in (("workgroup", "WORKGROUP"), ("ssl", "0")):
        value = device.get(field, default)
        if not isinstance(value, str):
            raise ServerConfigError(f"field \"{field}\": expected a text")
        fields[field] = value
    for field, default in (("smb", True), ("web", True), ("silent_host", False)):
        value = device.get(field, default)
        if not isinstance(value, bool):
            raise ServerConfigError(f"field \"{field}\": expected true or false")
        fields[field] = value
    protocol = device.get("smb_protocol", "modern")
    if protocol not in SMB_PROTOCOLS:
        raise ServerConfigError(f"field \"smb_protocol\": {json_text(protocol)} is not \"modern\" or \"NT1\"")
    fields["smb_protocol"] = protocol
    ports = device.get("smb_ports", [445])
    if not isinstance(ports, list) or not all(isinstance(p, int) and not isinstance(p, bool) for p in ports):
        raise ServerConfigError("field \"smb_ports\": expected a list of port numbers (445, 139)")
    if not ports:
        raise ServerConfigError("field \"smb_ports\": an empty list")
    for index, port in enumerate(ports):
        if port not in SMB_PORTS:
            raise ServerConfigError(f"field \"smb_ports\": {port} is not 445 or 139")
        if port in ports[:index]:
            raise ServerConfigError(f"field \"smb_ports\": {port} twice")
    fields["smb_ports"] = ports
    fields["shares"] = read_shares(device.get("shares", {}), volumes)
    fields["share_name"] = read_share_name(device)
    addon_folders = device.get("addon_folders", True)
    if not isinstance(addon_folders, bool):
        raise ServerConfigError("field \"addon_folders\": expected true or false")
    fields["addon_folders"] = addon_folders
    return fields


def json_text(value):
    return json.dumps(value) if isinstance(value, str) else repr(value)


def read_share_name(device):
    """The share name the device ends up answering: the last entry of share_name_sequence
    when that is a text, else share_name."""
    name = device.get("share_name", "HDD_a")
    if not isinstance(name, str):
        raise ServerConfigError("field \"share_name\": expected a text")
    sequence = device.get("share_name_sequence")
    if sequence is None:
        return name
    if not isinstance(sequence, list) or not sequence or not all(e is None or isinstance(e, str) for e in sequence):
        raise ServerConfigError("field \"share_name_sequence\": expected a non-empty list of texts and nulls")
    return sequence[-1] if isinstance(sequence[-1], str) else name


def read_shares(shares, volumes):
    """{volume: {"user", "password", "read_only", "size_kib"}}: user and password together
    (a password share) or neither (a guest share); read_only makes smbd refuse writes, and
    size_kib limits what its add-on folders (or, without them, the share) can hold."""
    if not isinstance(shares, dict):
        raise ServerConfigError("field \"shares\": expected an object of volume names")
    checked = {}
    password_of = {}
    for volume in sorted(shares):
        account = shares[volume]
        field = f"shares.{volume}"
        if volume not in volumes:
            raise ServerConfigError(f"field \"shares\": \"{volume}\" is not one of the device's volumes")
        if not isinstance(account, dict) or not set(account) <= {"user", "password", "read_only", "size_kib"}:
            raise ServerConfigError(f"field \"{field}\": expected {{\"user\": ..., \"password\": ...}}")
        read_only = account.get("read_only", False)
        if not isinstance(read_only, bool):
            raise ServerConfigError(f"field \"{field}.read_only\": expected true or false")
        size_kib = account.get("size_kib", 0)
        if not isinstance(size_kib, int) or isinstance(size_kib, bool) or \
                (size_kib != 0 and not MIN_SHARE_KIB <= size_kib <= MAX_SHARE_KIB):
            raise ServerConfigError(f"field \"{field}.size_kib\": not within {MIN_SHARE_KIB} to {MAX_SHARE_KIB}")
        entry = {"user": None, "password": None, "read_only": read_only, "size_kib": size_kib}
        if "user" in account or "password" in account:
            user, password = account.get("user"), account.get("password")
            if not isinstance(user, str) or not USER_NAME.fullmatch(user):
                raise ServerConfigError(f"field \"{field}.user\": not 1 to 32 letters, digits, '_', '.' or '-' "
                                        "starting with a letter")
            if user.lower() in RESERVED_USERS:
                raise ServerConfigError(f"field \"{field}.user\": \"{user}\" is reserved")
            if not isinstance(password, str) or not PASSWORD.fullmatch(password):
                raise ServerConfigError(f"field \"{field}.password\": not 1 to 64 printable ASCII characters")
            if password_of.setdefault(user, password) != password:
                raise ServerConfigError(f"field \"{field}.password\": user \"{user}\" has another password "
                                        "on an earlier share")
            entry.update(user=user, password=password)
        checked[volume] = entry
    return checked


# ---- planning -----------------------------------------------------------------------------

def home_link(device, links):
    """The link whose device namespace the workstation routes the device's address to."""
    if device["link"] != "both":
        return device["link"]
    address = ipaddress.IPv4Address(device["ip"])
    return next(name for name, spec in links.items() if address in spec["net"])


def plan_servers(devices, links, state_dir, log):
    """The servers to run: one dict per server. `log` receives one line per device or
    volume that gets none, with the reason."""
    plans = []
    served = {}  # (namespace, address, port) -> device name
    netbios_names = {}  # upper-case NetBIOS name -> device name
    for device in devices:
        name = device["name"]
        wants_smb = device["smb"] and device["volumes"]
        if device["silent_host"] or not (wants_smb or device["web"]):
            continue
        if not DEVICE_NAME.fullmatch(name):
            log(f"device {name!r}: no smbd and no web server: its name is not 1 to 63 letters, digits, "
                "'_', '.' or '-' starting with a letter or digit")
            continue
        base = {"device": name, "address": device["ip"], "ns": links[home_link(device, links)]["ns"],
                "dir": str(state_dir / "devices" / name)}
        wanted = []
        if wants_smb:
            smbd = plan_smbd(device, base, log)
            wanted.append(smbd)
            if smbd:
                wanted.append(plan_nmbd(device, base, links, netbios_names, log))
        if device["web"]:
            wanted.append(dict(base, kind="lighttpd", ports=[80, 443] if "1" in device["ssl"] else [80]))
        smbd_left_out = False
        for plan in filter(None, wanted):
            sockets = [(plan["ns"], plan["address"], port, plan["kind"] == "nmbd") for port in plan["ports"]]
            other = next((served[s] for s in sockets if s in served), None)
            if plan["kind"] == "nmbd" and smbd_left_out:
                continue
            if other is not None:
                log(f"device {name}: no {plan['kind']}: its address {plan['address']} is served for {other}")
                smbd_left_out |= plan["kind"] == "smbd"
                continue
            served.update(dict.fromkeys(sockets, name))
            plans.append(plan)
    if plans and not CONFIG_PATH.fullmatch(str(state_dir)):
        raise ServerConfigError(f"state directory {state_dir}: only letters, digits and _ . / + , @ = - "
                                "can go into the servers' configs (set OFU_LAB_DIR)")
    return plans


def plan_smbd(device, base, log):
    name = device["name"]
    if not WORKGROUP.fullmatch(device["workgroup"]):
        log(f"device {name}: no smbd: workgroup {device['workgroup']!r} is not 1 to 15 letters, digits, "
            "'_', '.' or '-' starting with a letter or digit")
        return None
    shares, taken = [], set()
    for volume in device["volumes"]:
        if not SHARE_NAME.fullmatch(volume) or volume.lower() in RESERVED_SHARES:
            log(f"device {name}: volume {volume!r} gets no share: not a usable share name "
                "(1 to 80 letters, digits, _ . - $; not global, homes, printers or ipc$)")
            continue
        if volume.lower() in taken:
            log(f"device {name}: volume {volume!r} gets no share: a share of that name (any case) exists")
            continue
        taken.add(volume.lower())
        account = device["shares"].get(volume) or {}
        shares.append({"volume": volume, "user": account.get("user"), "password": account.get("password"),
                       "read_only": account.get("read_only", False), "size_kib": account.get("size_kib", 0),
                       "addon_folders": []})
    if not shares:
        log(f"device {name}: no smbd: none of its volumes can be a share")
        return None
    plan_addon_folders(device, shares, log)
    return dict(base, kind="smbd", ports=list(device["smb_ports"]), protocol=device["smb_protocol"], shares=shares,
                workgroup=device["workgroup"])


def plan_nmbd(device, base, links, taken, log):
    """The nmbd that answers name queries for the device's name, or None (with a log line)
    when the name can't be a NetBIOS name or another device registers it already. Only a
    device on one of the lab's links is waited for: a device that kept the address of
    another network can't hear the workstation's broadcasts, just as in an office."""
    name = device["name"]
    if not NETBIOS_NAME.fullmatch(name):
        log(f"device {name}: no nmbd: its name is no NetBIOS name (1 to 15 letters, digits, '_' or '-', "
            "no dot): the workstation can't find it by name")
        return None
    netbios = name.upper()
    if netbios in taken:
        log(f"device {name}: no nmbd: the NetBIOS name {netbios} is registered for {taken[netbios]}")
        return None
    taken[netbios] = name
    address = ipaddress.IPv4Address(device["ip"])
    subnet = ipaddress.IPv4Network(f"{address}/{NETBIOS_PREFIX}", strict=False)
    on_link = any(address in link["net"] for link in links.values())
    if not on_link:
        log(f"device {name}: nmbd on {address} answers broadcasts of {subnet} only: "
            "the workstation can't find it by name")
    return dict(base, kind="nmbd", ports=[137, 138], netbios_name=netbios, workgroup=device["workgroup"],
                broadcast=str(subnet.broadcast_address), wait_for_name=on_link)


def plan_addon_folders(device, shares, log):
    """Gives the share named by the device's share_name the add-on folders of its family."""
    if not device["addon_folders"]:
        return
    wanted = device["share_name"]
    folders = ADDON_FOLDERS.get(wanted.lower())
    share = next((s for s in shares if s["volume"].lower() == wanted.lower()), None)
    if folders is None or share is None:
        why = "is neither HDD_a nor HDD_1" if folders is None else "is not one of its shares"
        log(f"device {device['name']}: no add-on folders: share_name {wanted!r} {why}")
        return
    share["addon_folders"] = folders


# ---- files --------------------------------------------------------------------------------

def clear_previous(state_dir):
    shutil.rmtree(state_dir / "devices", ignore_errors=True)


def open_for_share_users(state_dir, log):
    """Share users are no root: every folder above their share folders must let others
    pass (x). The lab's own state directory gets that bit; a folder above it that lacks it
    is named in the log, since then password shares refuse every file."""
    for folder in (state_dir, state_dir / "devices"):
        folder.mkdir(parents=True, exist_ok=True)
        mode = folder.stat().st_mode
        if not mode & 0o001:
            os.chmod(folder, (mode & 0o7777) | 0o001)
    for folder in state_dir.parents:
        if not folder.stat().st_mode & 0o001:
            log(f"{folder} does not let other users pass: password shares will refuse their files")
            break


def prepare(plans):
    """Writes every server's files; the certificates are made in parallel."""
    makers = []
    for plan in plans:
        if plan["kind"] == "smbd":
            prepare_smbd(plan)
        elif plan["kind"] == "nmbd":
            prepare_nmbd(plan)
        else:
            makers.extend(prepare_lighttpd(plan))
    failed = []
    for plan, process in makers:
        _, errors = process.communicate()
        if process.returncode != 0:
            failed.append(f"certificate for {plan['device']}: openssl: {errors.strip()}")
    if failed:
        raise OSError("; ".join(failed))
    for plan in plans:
        if plan["kind"] == "lighttpd" and 443 in plan["ports"]:
            os.chmod(Path(plan["dir"]) / "web" / "key.pem", 0o600)


def write(path, text, mode=0o644):
    path.parent.mkdir(parents=True, exist_ok=True)
    with open(os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, mode), "w") as out:
        out.write(text)
    os.chmod(path, mode)


def share_users(shares):
    """Entries of /etc/passwd and /etc/group for the share users, as copies of the machine's
    files with the users added: (passwd text, group text, {user: (uid, gid)})."""
    passwd = Path("/etc/passwd").read_text()
    group = Path("/etc/group").read_text()

    def table(text):
        rows = [line.split(":") for line in text.splitlines() if line.count(":") >= 2]
        return {row[0]: int(row[2]) for row in rows if row[2].isdigit()}

    users, groups = table(passwd), table(group)
    ids = {}
    next_id = FIRST_SHARE_UID
    for user in sorted({share["user"] for share in shares if share["user"]}):
        if user in users:
            # An account of the machine: smbd uses it as it is.
            ids[user] = (users[user], groups.get(user, users[user]))
            continue
        while next_id in users.values() or next_id in groups.values():
            next_id += 1
        uid = next_id
        gid = groups.get(user, uid)
        passwd = with_line(passwd, f"{user}:x:{uid}:{gid}:lab share user:/nonexistent:/usr/sbin/nologin")
        if user not in groups:
            group = with_line(group, f"{user}:x:{gid}:")
        users[user], groups[user] = uid, gid
        ids[user] = (uid, gid)
    return passwd, group, ids


def with_line(text, line):
    return text + ("" if text.endswith("\n") or not text else "\n") + line + "\n"


def prepare_smbd(plan):
    root = Path(plan["dir"])
    smb = root / "smb"
    for sub in ("private", "lock", "state", "cache", "pid", "ncalrpc", "log"):
        (smb / sub).mkdir(parents=True, exist_ok=True)
    passwd, group, ids = share_users(plan["shares"])
    write(smb / "passwd", passwd)
    write(smb / "group", group)
    write(smb / "users", "".join(f"{user}\t{password}\n" for user, password in
                                 sorted({(s["user"], s["password"]) for s in plan["shares"] if s["user"]})), 0o600)
    sections = []
    mounts = []
    for share in plan["shares"]:
        folder = root / "shares" / f"vol-{share['volume']}"
        folder.mkdir(parents=True, exist_ok=True)
        readme = folder / "README.txt"
        write(readme, f"README of the volume {share['volume']} of the lab device {plan['device']}.\n")
        owner = ids[share["user"]] if share["user"] else None
        if owner:
            os.chown(folder, *owner)
            os.chown(readme, *owner)
            os.chmod(folder, 0o755)
            access = f"    guest ok = no\n    valid users = {share['user']}\n"
        else:
            os.chmod(folder, 0o1777)
            access = "    guest ok = yes\n    force user = root\n"
        for relative in share["addon_folders"]:
            make_folders(folder, relative, owner)
        if share["size_kib"]:
            # A small disk: a tmpfs of that size over each add-on folder (or the share), mounted
            # in smbd's own mount namespace only, so it goes away with smbd.
            owner_ids = owner or (0, 0)
            mode = "0755" if owner else "0777"
            for limited in [folder / relative for relative in share["addon_folders"]] or [folder]:
                mounts.append(f"{limited}\tsize={share['size_kib']}k,mode={mode},uid={owner_ids[0]},gid={owner_ids[1]}\n")
        sections.append(f"[{share['volume']}]\n    path = {folder}\n    read only = {'yes' if share['read_only'] else 'no'}\n"
                        f"{access}")
        share["path"] = str(folder)
    write(smb / "smb.conf", smb_conf(plan, smb) + "".join(sections))
    write(smb / "mounts", "".join(mounts))
    plan.update(config=str(smb / "smb.conf"), log=str(smb / "smbd.log"),
                args=["unshare", "-m", str(SMBD_START), str(smb / "smb.conf"), str(smb / "passwd"),
                      str(smb / "group"), str(smb / "users"), str(smb / "mounts")])


def make_folders(root, relative, owner):
    """Creates root/relative folder by folder: for a password share owned by its user
    (0755), for a guest share open to everyone (0777, set explicitly past the umask)."""
    folder = root
    for part in relative.split("/"):
        folder = folder / part
        folder.mkdir(exist_ok=True)
        if owner:
            os.chown(folder, *owner)
            os.chmod(folder, 0o755)
        else:
            os.chmod(folder, 0o777)


def smb_conf(plan, smb):
    # An old device's server speaks SMB1 (NT1) and nothing else; a modern one keeps Samba's
    # defaults (SMB2 and later).
    protocol = "    server min protocol = NT1\n    server max protocol = NT1\n" if plan["protocol"] == "NT1" else ""
    return f"""[global]
    workgroup = {plan['workgroup']}
    netbios name = {plan['device'].upper()[:15]}
    server role = standalone server
    interfaces = {plan['address']}
    bind interfaces only = yes
    smb ports = {' '.join(str(port) for port in plan['ports'])}
    disable netbios = no
{protocol}{server_dirs(smb)}
    usershare path =
    idmap config * : backend = tdb
    idmap config * : range = 3000-7999
    passdb backend = tdbsam:{smb}/private/passdb.tdb
    log file = {smb}/log/smbd.log
    log level = 1
    map to guest = Bad User
    guest account = nobody
    load printers = no
    printing = bsd
    printcap name = /dev/null
    disable spoolss = yes
"""


def server_dirs(folder):
    return f"""    private dir = {folder}/private
    lock directory = {folder}/lock
    state directory = {folder}/state
    cache directory = {folder}/cache
    pid directory = {folder}/pid
    ncalrpc dir = {folder}/ncalrpc"""


def prepare_nmbd(plan):
    """nmbd's own folder and config beside the device's smbd: STATE/devices/NAME/nmb/."""
    nmb = Path(plan["dir"]) / "nmb"
    for sub in ("private", "lock", "state", "cache", "pid", "ncalrpc", "log", "socket"):
        (nmb / sub).mkdir(parents=True, exist_ok=True)
    # "nmbd:socket dir" too: its unix socket (for answers that arrive unasked) would otherwise
    # be /run/samba/nmbd/unexpected, one path for every nmbd of every namespace.
    write(nmb / "nmb.conf", f"""[global]
    workgroup = {plan['workgroup']}
    netbios name = {plan['netbios_name']}
    server role = standalone server
    interfaces = {plan['address']}/{NETBIOS_PREFIX}
    bind interfaces only = yes
    nbt client socket address = {plan['address']}
    disable netbios = no
    local master = no
    domain master = no
    preferred master = no
    wins support = no
    dns proxy = no
{server_dirs(nmb)}
    nmbd:socket dir = {nmb}/socket
    log file = {nmb}/log/nmbd.log
    log level = 1
    load printers = no
""")
    # Its own session (started with one) and --no-process-group: nmbd never signals the
    # lab's process group, and it is stopped by its PID.
    plan.update(config=str(nmb / "nmb.conf"), log=str(nmb / "nmbd.log"),
                args=["nmbd", "--foreground", "--no-process-group", "--debug-stdout", "-d", "1",
                      "-s", str(nmb / "nmb.conf")])


def prepare_lighttpd(plan):
    web = Path(plan["dir"]) / "web"
    (web / "log").mkdir(parents=True, exist_ok=True)
    title = html.escape(f"{plan['device']} web configuration")
    write(web / "www" / "index.html",
          f"<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>{title}</title></head>\n"
          f"<body><h1>{title}</h1>\n<p>Lab device at {html.escape(plan['address'])}</p></body></html>\n")
    address = plan["address"]
    conf = [f'server.document-root = "{web}/www"', f'server.bind = "{address}"', "server.port = 80",
            f'server.pid-file = "{web}/lighttpd.pid"', f'server.errorlog = "{web}/log/error.log"',
            'server.username = ""', 'index-file.names = ( "index.html" )',
            'mimetype.assign = ( ".html" => "text/html" )']
    makers = []
    if 443 in plan["ports"]:
        conf.insert(0, 'server.modules = ( "mod_openssl" )')
        conf.append(f'$SERVER["socket"] == "{address}:443" {{\n  ssl.engine = "enable"\n'
                    f'  ssl.pemfile = "{web}/cert.pem"\n  ssl.privkey = "{web}/key.pem"\n}}')
        name = plan["device"]
        makers.append((plan, subprocess.Popen(
            ["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
             "-keyout", str(web / "key.pem"), "-out", str(web / "cert.pem"), "-days", "365",
             "-subj", f"/CN={name}", "-addext", f"subjectAltName=DNS:{name},IP:{address}"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)))
    write(web / "lighttpd.conf", "\n".join(conf) + "\n")
    plan.update(config=str(web / "lighttpd.conf"), log=str(web / "lighttpd.log"),
                args=["lighttpd", "-D", "-f", str(web / "lighttpd.conf")])
    return makers


# ---- starting, waiting, stopping ----------------------------------------------------------

def start(plan):
    """Starts one server in its namespace; returns (record for lab.json, Popen).

    lighttpd and nmbd get a session of their own from here. smbd makes its own session
    (setsid) and fails to start when it already leads one, so it starts as a plain child and
    is signalled only once it leads its own process group (lab_processes.stop_signal)."""
    with open(plan["log"], "w") as log_file:
        process = subprocess.Popen(["ip", "netns", "exec", plan["ns"], *plan["args"]],
                                   stdin=subprocess.DEVNULL, stdout=log_file, stderr=log_file,
                                   start_new_session=plan["kind"] != "smbd")
    # "ip netns exec", unshare and the start script each replace themselves (exec): the PID
    # and its start time stay the server's.
    record = {key: plan[key] for key in ("kind", "device", "ns", "address", "ports", "config", "log")}
    record.update(pid=process.pid, start_time=lab_processes.process_start_time(process.pid))
    if plan["kind"] == "smbd":
        record["protocol"] = plan["protocol"]
        record["shares"] = [{"volume": s["volume"], "user": s["user"], "path": s["path"],
                             "addon_folders": s["addon_folders"], "read_only": s["read_only"],
                             "size_kib": s["size_kib"]} for s in plan["shares"]]
    if plan["kind"] == "nmbd":
        record.update({key: plan[key] for key in ("netbios_name", "broadcast", "wait_for_name")})
    return record, process


def listening(ns):
    """The local address:port pairs with a TCP listener in namespace `ns`."""
    result = subprocess.run(["ip", "netns", "exec", ns, "ss", "-ltnH"], stdin=subprocess.DEVNULL,
                            capture_output=True, text=True)
    return {line.split()[3] for line in result.stdout.splitlines() if len(line.split()) >= 4}


def wait_for(pending, ready, deadline, describe_failure, before, late, pause):
    """Waits until `ready` (the pending records -> one bool each) holds for every (record,
    Popen) of `pending`. Raises OSError naming the first whose process ended `before` it was
    ready, or that was still not ready by `deadline` (time.monotonic()), saying `late(record)`."""
    while pending:
        for (record, process), done in zip(list(pending), ready([record for record, _ in pending])):
            if done:
                pending.remove((record, process))
            elif process.poll() is not None:
                raise OSError(f"{label(record)} ended with status {process.returncode} before {before}:\n"
                              f"{describe_failure(record['log'])}")
        if pending and time.monotonic() > deadline:
            raise OSError(f"{label(pending[0][0])} {late(pending[0][0])} (see {pending[0][0]['log']})")
        if pending:
            time.sleep(pause)


def wait_until_listening(started, timeout, describe_failure):
    """Waits until every server of `started` ([(record, Popen)]) but nmbd listens on all its
    TCP ports; raises OSError naming the first one that ended or did not listen within
    `timeout` s."""
    def ready(records):
        sockets = {ns: listening(ns) for ns in {record["ns"] for record in records}}
        return [all(f"{record['address']}:{port}" in sockets[record["ns"]] for port in record["ports"])
                for record in records]
    wait_for([(record, process) for record, process in started if record["kind"] != "nmbd"], ready,
             time.monotonic() + timeout, describe_failure, "it listened",
             lambda record: f"not listening on {ports_text(record)} after {timeout:g} s", 0.02)


def wait_until_names_answer(started, workstation_ns, deadline, describe_failure):
    """Waits until the name of every nmbd of `started` that the workstation can reach answers
    a broadcast name query from the workstation namespace with the device's address (nmbd
    answers only once it has registered the name, about 3 s after its start). The queries
    of one round run in parallel. Raises OSError naming the first nmbd that ended or whose
    name did not answer by `deadline` (time.monotonic())."""
    def ready(records):
        queries = [subprocess.Popen(
            ["ip", "netns", "exec", workstation_ns, "nmblookup", "--configfile=/dev/null", "-B", record["broadcast"],
             record["netbios_name"]], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
            text=True) for record in records]
        return [f"\n{record['address']} {record['netbios_name']}<00>" in f"\n{query.communicate()[0]}"
                for record, query in zip(records, queries)]
    wait_for([(record, process) for record, process in started
              if record["kind"] == "nmbd" and record["wait_for_name"]], ready, deadline, describe_failure,
             "its name answered",
             lambda record: f"(name {record['netbios_name']}) did not answer a query to {record['broadcast']} "
                            "from the workstation in time", 0.1)


def label(record):
    return f"{record['kind']} for {record['device']}"


def ports_text(record):
    text = f"{record['address']}:" + ",".join(str(port) for port in record["ports"])
    return text + "/udp" if record.get("kind") == "nmbd" else text


def stop(record, say):
    names = PROCESS_NAMES.get(record.get("kind"), LIGHTTPD_NAMES)
    lab_processes.stop_process(record, names, f"{label(record)} started by the lab", say)
    if record.get("kind") == "smbd":
        stop_smbd_helpers(record, say)


def stop_smbd_helpers(record, say):
    """smbd starts samba-dcerpcd and its rpcd_* workers on demand in a session of their own;
    they outlive smbd by a minute or more. They are recognised by the lab's private smb.conf
    on their command line and a start after smbd's."""
    config = record.get("config")
    started = record.get("start_time")
    if not config or not str(started).isdigit():
        return
    marks = {f"--configfile={config}", config}
    helpers = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        pid = int(entry)
        start_time = lab_processes.process_start_time(pid)
        if start_time is None or int(start_time) < int(started):
            continue
        if marks & set(lab_processes.command_line(pid)):
            helpers.append(pid)
    # samba-dcerpcd leads the group of its workers: SIGTERM to it ends them all; whatever is
    # left after that (or leads no group of its own) gets SIGKILL.
    for pid in helpers:
        if lab_processes.process_group(pid) == pid:
            signal_pid(pid, signal.SIGTERM)
    if lab_processes.wait_gone(helpers, lab_processes.STOP_WAIT_S / 2):
        return
    for pid in helpers:
        if lab_processes.process_start_time(pid) is not None:
            say(f"smbd helper PID {pid} of {record['device']} did not stop: killing it")
            signal_pid(pid, signal.SIGKILL)
    lab_processes.wait_gone(helpers, lab_processes.STOP_WAIT_S)


def signal_pid(pid, number):
    try:
        os.kill(pid, number)
    except ProcessLookupError:
        pass


def status_line(record):
    names = PROCESS_NAMES.get(record.get("kind"), LIGHTTPD_NAMES)
    alive = lab_processes.is_ours(record, names)
    text = (f"{label(record)} in {record['ns']} on {ports_text(record)}: PID {record['pid']} "
            f"{'running' if alive else 'not running'}")
    if record.get("kind") == "nmbd":
        text += f"; name {record.get('netbios_name')}" + ("" if record.get("wait_for_name") else
                                                          " (not on the workstation's links)")
    if record.get("kind") == "smbd":
        text += "; shares " + ", ".join(
            f"{s['volume']} ({'user ' + s['user'] if s['user'] else 'guest'}"
            f"{'; add-on folders' if s.get('addon_folders') else ''}"
            f"{'; read only' if s.get('read_only') else ''}"
            f"{'; ' + str(s['size_kib']) + ' KiB' if s.get('size_kib') else ''})" for s in record.get("shares", []))
        if record.get("protocol") == "NT1":
            text += "; SMB1 (NT1) only"
    return text, alive
