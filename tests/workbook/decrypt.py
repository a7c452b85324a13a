#!/usr/bin/python3
"""Decrypts a password-protected workbook with msoffcrypto-tool, checking
the password and the data integrity (HMAC) on the way.

    decrypt.py ENCRYPTED OUTPUT PASSWORD
"""
import sys

import msoffcrypto


def main(source, target, password):
    with open(source, "rb") as encrypted, open(target, "wb") as plain:
        office = msoffcrypto.OfficeFile(encrypted)
        office.load_key(password=password, verify_password=True)
        office.decrypt(plain, verify_integrity=True)


if __name__ == "__main__":
    main(*sys.argv[1:4])
