#!/usr/bin/python3
"""Encrypts an .xlsx package with a password the way spreadsheet programs do
(ECMA-376 agile or standard encryption, MS-OFFCRYPTO), so that the tests read
workbooks encrypted by something other than our C++ code.

    encrypt.py agile|standard PACKAGE.xlsx OUTPUT PASSWORD [SPIN_COUNT]
"""
import base64
import hashlib
import hmac
import os
import struct
import sys

from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes

SEGMENT = 4096
FREE, END, FATSECT = 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFD
NOSTREAM = 0xFFFFFFFF


def aes(key, data, iv=None):
    mode = modes.CBC(iv) if iv is not None else modes.ECB()
    enc = Cipher(algorithms.AES(key), mode).encryptor()
    return enc.update(data) + enc.finalize()


def pad(data, size=16, fill=b"\0"):
    return data + fill * (-len(data) % size)


def fit(data, size):
    return data[:size] + b"\x36" * (size - len(data))


def iterated(hash_name, salt, password, spin):
    h = hashlib.new(hash_name, salt + password.encode("utf-16-le")).digest()
    for i in range(spin):
        h = hashlib.new(hash_name, struct.pack("<I", i) + h).digest()
    return h


def agile(package, password, spin):
    hash_name, key_bits = "sha512", 256
    hsize = hashlib.new(hash_name).digest_size
    key_salt, pw_salt = os.urandom(16), os.urandom(16)
    secret = os.urandom(key_bits // 8)
    h = iterated(hash_name, pw_salt, password, spin)

    def pw_key(block):
        return fit(hashlib.new(hash_name, h + block).digest(), key_bits // 8)

    def iv_for(block):
        return fit(hashlib.new(hash_name, key_salt + block).digest(), 16)

    verifier = os.urandom(16)
    enc_input = aes(pw_key(bytes.fromhex("fea7d2763b4b9e79")), verifier, pw_salt)
    enc_hash = aes(pw_key(bytes.fromhex("d7aa0f6d3061344e")),
                   pad(hashlib.new(hash_name, verifier).digest()), pw_salt)
    enc_key = aes(pw_key(bytes.fromhex("146e0be7abacd0d6")), secret, pw_salt)
    stream = struct.pack("<Q", len(package))
    for index in range(0, len(package), SEGMENT):
        iv = iv_for(struct.pack("<I", index // SEGMENT))
        stream += aes(secret, pad(package[index:index + SEGMENT]), iv)
    hmac_key = os.urandom(hsize)
    value = hmac.new(hmac_key, stream, hash_name).digest()
    enc_hmac_key = aes(secret, pad(hmac_key), iv_for(bytes.fromhex("5fb2ad010cb9e1f6")))
    enc_hmac_value = aes(secret, pad(value), iv_for(bytes.fromhex("a0677f02b22c8433")))
    b64 = lambda b: base64.b64encode(b).decode()
    params = ('saltSize="16" blockSize="16" keyBits="%d" hashSize="%d" cipherAlgorithm="AES" '
              'cipherChaining="ChainingModeCBC" hashAlgorithm="SHA512"' % (key_bits, hsize))
    xml = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\r\n'
           '<encryption xmlns="http://schemas.microsoft.com/office/2006/encryption" '
           'xmlns:p="http://schemas.microsoft.com/office/2006/keyEncryptor/password">'
           '<keyData %s saltValue="%s"/>'
           '<dataIntegrity encryptedHmacKey="%s" encryptedHmacValue="%s"/>'
           '<keyEncryptors><keyEncryptor uri="http://schemas.microsoft.com/office/2006/'
           'keyEncryptor/password"><p:encryptedKey spinCount="%d" %s saltValue="%s" '
           'encryptedVerifierHashInput="%s" encryptedVerifierHashValue="%s" '
           'encryptedKeyValue="%s"/></keyEncryptor></keyEncryptors></encryption>'
           % (params, b64(key_salt), b64(enc_hmac_key), b64(enc_hmac_value), spin, params,
              b64(pw_salt), b64(enc_input), b64(enc_hash), b64(enc_key)))
    info = struct.pack("<HHI", 4, 4, 0x40) + xml.encode()
    return info, stream


def standard(package, password):
    salt = os.urandom(16)
    h = iterated("sha1", salt, password, 50000)
    final = hashlib.sha1(h + struct.pack("<I", 0)).digest()
    x1 = hashlib.sha1(bytes(b ^ 0x36 for b in pad(final, 64))).digest()
    key = x1[:16]
    verifier = os.urandom(16)
    csp = "Microsoft Enhanced RSA and AES Cryptographic Provider\0".encode("utf-16-le")
    header = struct.pack("<IIIIIIII", 0x24, 0, 0x660E, 0x8004, 128, 0x18, 0, 0) + csp
    info = struct.pack("<HHII", 3, 2, 0x24, len(header)) + header
    info += struct.pack("<I", 16) + salt + aes(key, verifier)
    info += struct.pack("<I", 20) + aes(key, pad(hashlib.sha1(verifier).digest()))
    stream = struct.pack("<Q", len(package)) + aes(key, pad(package))
    return info, stream


def compound_file(streams):
    """A compound file of 512-byte sectors with the streams in its root."""
    names = sorted(streams, key=lambda n: (len(n), n.upper()))
    sectors, fat, mini, minifat, starts = [], [], b"", [], {}

    def add_chain(data, size, table):
        count = max(1, -(-len(data) // size)) if data else 0
        first = len(table)
        for i in range(count):
            table.append(first + i + 1 if i + 1 < count else END)
        return first if count else END, pad(data, size)

    for name in names:
        data = streams[name]
        if len(data) < 4096:
            starts[name], chunk = add_chain(data, 64, minifat)
            mini += chunk
        else:
            starts[name], chunk = add_chain(data, 512, fat)
            sectors.append(chunk)
    mini_start, chunk = add_chain(mini, 512, fat)
    sectors.append(chunk)
    minifat_bytes = b"".join(struct.pack("<I", x) for x in minifat)
    minifat_bytes += b"\xff" * (-len(minifat_bytes) % 512)
    minifat_start, chunk = add_chain(minifat_bytes, 512, fat)
    sectors.append(chunk)
    # The root and the streams, the middle name at the top of the tree.
    order = ["Root Entry"] + names
    ids = {name: i for i, name in enumerate(order)}

    def tree(part, depth, out):
        if not part:
            return NOSTREAM
        middle = len(part) // 2
        out[part[middle]] = (tree(part[:middle], depth + 1, out),
                             tree(part[middle + 1:], depth + 1, out), depth)
        return ids[part[middle]]

    links = {}
    child = tree(names, 0, links)
    deepest = max(d for _, _, d in links.values())
    entries = b""
    for name in order:
        encoded = name.encode("utf-16-le")[:62]
        if name == "Root Entry":
            kind, left, right, sub, color = 5, NOSTREAM, NOSTREAM, child, 1
            start, size = mini_start, len(mini)
        else:
            left, right, depth = links[name]
            kind, sub, color = 2, NOSTREAM, 0 if depth == deepest and deepest > 0 else 1
            start, size = starts[name], len(streams[name])
        entries += (encoded.ljust(64, b"\0") + struct.pack("<HBB", len(encoded) + 2, kind, color)
                    + struct.pack("<III", left, right, sub) + b"\0" * 36
                    + struct.pack("<IQ", start, size))
    entries += (b"\0" * 64 + struct.pack("<HBBIII", 0, 0, 0, NOSTREAM, NOSTREAM, NOSTREAM)
                + b"\0" * 48) * (-len(order) % 4)
    dir_start, chunk = add_chain(entries, 512, fat)
    sectors.append(chunk)
    fat_count = 1
    while len(fat) + fat_count > fat_count * 128:
        fat_count += 1
    assert fat_count <= 109, "workbook too large for this small writer"
    fat_start = len(fat)
    fat += [FATSECT] * fat_count
    fat += [FREE] * (fat_count * 128 - len(fat))
    difat = list(range(fat_start, fat_start + fat_count)) + [FREE] * (109 - fat_count)
    header = (bytes.fromhex("d0cf11e0a1b11ae1") + b"\0" * 16
              + struct.pack("<HHHHH", 0x3E, 3, 0xFFFE, 9, 6) + b"\0" * 6
              + struct.pack("<IIIIIIIII", 0, fat_count, dir_start, 0, 4096, minifat_start,
                            len(minifat_bytes) // 512 if minifat else 0, END, 0)
              + b"".join(struct.pack("<I", x) for x in difat))
    body = b"".join(sectors) + b"".join(struct.pack("<I", x) for x in fat)
    return header + body


def main():
    kind, source, target, password = sys.argv[1:5]
    spin = int(sys.argv[5]) if len(sys.argv) > 5 else 100000
    package = open(source, "rb").read()
    info, stream = agile(package, password, spin) if kind == "agile" else standard(package,
                                                                                     password)
    with open(target, "wb") as out:
        out.write(compound_file({"EncryptionInfo": info, "EncryptedPackage": stream}))


if __name__ == "__main__":
    main()
