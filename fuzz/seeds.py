#!/usr/bin/env python3
"""Writes the seed corpora under fuzz/corpus/ from the known-answer frames of the tests.

Usage: fuzz/seeds.py BUILD_DIR   (BUILD_DIR holds tiltlink-ovx, for the firmware files)
"""
import os
import subprocess
import sys

here = os.path.dirname(os.path.abspath(__file__))
h = bytes.fromhex

# From tests/protocol/tst_reply.cpp.
ack = h("7707000000016971")
live = h("772300000001831012345601234567f00010000098123411000000000000010025505ae2")
firmware_ack = h("5a820001019dcd5f10")
firmware_info = h("5a8156312e302e34" + "00" * 42 + "0004f8dc79")
page84 = h("77028000000061000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f202122"
           "23240102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f20212223245415e7b9")
page60 = h("77020000000061000102030405060708090a0b0c0d0e0f1011121314151617180102030405060708090a"
           "0b0c0d0e0f1011121314151617183ad799db")
page36 = h("7701000000006dff0102030405060708090a0b0c0d0e0f10111213141516171803731b75")
others = [h("770bffffffff1f0000000a30"), h("7707000000018f97"), h("770d000000016624030109050300"),
          h("77090000000157012082"), h("7708000000018dff95"), h("7706000000878d"),
          h("770700000001636b")]
# From tests/params/tst_moduleanswer.cpp.
module = [b"OK+BAND\r\n", b"OK+BAND:03\r\n", b"OK+CHANNEL:0-7\r\nOK+CHANNEL:8,9 ,10\r\n",
          b"OK+HEART:01\r\n", b"OK+DEVEUI:0011223344556677\r\n", b"OK+APPEUI:70B3D57ED0000001\r\n",
          b"OK+APPKEY:000102030405060708090A0B0C0D0E0F\r\n", b"OK+SAVE\r\nOK+BAND\r\n", b"OK+RENEW\r\n"]


def write(target, name, data):
    folder = os.path.join(here, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def script_chunk(data):
    return bytes([len(data)]) + data


frames = [ack, live, page84, firmware_ack, page60, page36, firmware_info] + others
write("reply", "stream", b"\x07" + b"".join(frames) + module[1])
for i, frame in enumerate(frames):
    write("reply", "frame%02d" % i, bytes([i]) + frame)

for i, text in enumerate(module):
    write("moduleanswer", "answer%02d" % i, text)

# Start ascending 1-60000, take each page raw, a built page of two 36-byte records, time out,
# resume, stop; and a descending read.
start = b"\x00\x00\x00\x01\xea\x60"
raw = b"".join(b"\x06\x00" + script_chunk(p) for p in (page84, page60, page36))
built = b"\x07\x01\x02\x80\x00\xff" + bytes(range(72))
write("readback", "ascending", start + raw + built + b"\x04\x02\x00\x01\x00\x10\x03\x05")
write("readback", "descending", b"\x00\x01\x00\x00\x00\x00" + b"\x06\x00" + script_chunk(page36))

# Width index, command, address, image length, fill; two ticks, the update response, ticks and
# acknowledgements of packets 0 and 1 (one checksum error first).
upgrade = (b"\x02\x5f\x00\x01\x05\xdc\x41" + b"\x03\x03" + b"\x02" + script_chunk(b"V1.0.4\x00")
           + b"\x03" + b"\x01\x00\x02\x03" + b"\x01\x00\x01\x03" + b"\x01\x01\x01\x03")
write("upgrade", "two-packets", upgrade)

for i, text in enumerate([b"77 07 00 00 00 00 1F 26", b"  7707 00000000 1f26 ", b"7 07", b"123",
                          b"1G 20 GZ", "信道 AT".encode()]):
    write("terminaltext", "line%02d" % i, text)

# From tests/templates/tst_parametertemplate.cpp.
write("templates", "written", b"[Module]\nBand=6\nChannel1=\"0-7, 8\"\n"
      b"Channel2=\"%1 \\\"x\\\" = \\x4fe1\\x9053\"\nHeart=1\n\n"
      b"[Sensor]\nAlarm=12.34\nDuration=0.4\nInstal=1\nInterval=10\n"
      b"Keep=9999\nMode=1\nSleep=abc\nThreshold=\"1, 2; \\\"x\\\" = 3\"\nZero=1\n")
write("templates", "typed", b"[Module]\nBand=@Variant(\\0\\0\\0\\xb\\x7f\\xff\\xff\\xff)\n"
      b"Channel2=@ByteArray(ab)\n[Sensor]\nMode=@@a, b\n")

cli = ["info\0--port\0/dev/ttyUSB0\0--address\00000000a\0--json",
       "readback\0--port\0p\0--range\01-100\0--out\0r.csv\0--retries\03",
       "readback\0--port\0p\0--desc\0--out\0r.xlsx",
       "set\0--port\0p\0interval=60\0hold=10\0mode=standard\0alarm=1.25\0datetime=now\0--save",
       "set\0--port\0p\0address=0000000b\0baud=9600\0motion-time=0.4\0sleep=30",
       "module\0--port\0p\0set\0band=EU868\0heartbeat=on\0channel1=0-7\0channel2=8",
       "module\0--port\0p\0get\0band\0deveui", "apply\0--port\0p\0t.ini\0--sensor",
       "upgrade\0--port\0p\0f.ovx\0--check-version", "live\0--port\0p\0--rate\05\0--count\03",
       "module-ids\0--port\0p\0--format\0json\0--append\0ids.csv", "erase\0--port\0p\0--yes",
       "ports", "--help"]
for i, line in enumerate(cli):
    write("cli", "args%02d" % i, line.encode())

ovx = os.path.join(here, "corpus", "firmwarefile", "small.ovx")
os.makedirs(os.path.dirname(ovx), exist_ok=True)
subprocess.run([os.path.join(sys.argv[1], "tiltlink-ovx"), "--version", "AB#CD#V1.0.4", "--width",
                "4", "--command", "5f", "--size", "600", "-o", ovx], check=True)
