#!/usr/bin/env python3
"""Writes a sample ledger for the screenshots beside a sample archive: deposits at every bookmaker
and at two exchanges named as such, the exchange of each bet's lays, the older bets settled as
back or lay won, and free bets earned by qualifying bets (each free-bet record using one, a few
still held, one due in two days, one expired), the way the bet history writes them.
Usage: sampleledger.py ARCHIVE LEDGER."""
import hashlib
import random
import sys
from collections import Counter
from datetime import date, datetime, timedelta

EXCHANGES = ["Betfair", "Smarkets"]


def entry(when, action, record="", outcome="", amount="", account="", note=""):
    return ",".join(["1", when.strftime("%Y-%m-%dT%H:%M:%S"), action, record, outcome, amount, account, note])


def free_bet(when, record, amount, bookmaker, expires):
    return ",".join(["2", when.strftime("%Y-%m-%dT%H:%M:%S"), "freebet", record, "snr", amount, bookmaker, "",
                     expires.isoformat() if expires else ""])


def free_bets(archive, records, start):
    """A free bet earned by the qualifying bet before each free-bet record, of its stake and at its
    bookmaker, so that the history links them; then three more held and one that expired unused."""
    today = date.today()
    fields = [line.decode().split(",") for line in archive]
    qualifiers = [n for n, f in enumerate(fields) if f[3] != f[4]]
    for n, f in enumerate(fields):
        earlier = [q for q in qualifiers if q < n and fields[q][2] == f[2]]
        if f[3] == f[4] and earlier:
            yield free_bet(start, records[earlier[-1]], "%.2f" % float(f[3]), f[2], today + timedelta(days=30))
    for days, n in ((2, -1), (6, -2), (None, -3), (-3, -4)):
        q = qualifiers[n]
        yield free_bet(start, records[q], "7.50", fields[q][2], today + timedelta(days=days) if days else None)


def lines(archive, rng):
    start = datetime(2026, 12, 8, 20, 0, 0)
    bookmakers = sorted({line.split(b",")[2].decode() for line in archive})
    for n, name in enumerate(bookmakers + EXCHANGES):
        yield entry(start, "deposit", amount="%d.00" % (200 + 50 * n), account=name, note="first deposit")
    for name in EXCHANGES:
        yield entry(start, "type", outcome="exchange", account=name)
    yield entry(start, "status", outcome="limited", account=bookmakers[0], note="stakes cut to 2.00")
    seen = Counter()
    records = []
    for line in archive:
        digest = hashlib.sha256(line).hexdigest()
        records.append("log:%s:%d" % (digest, seen[digest]))
        seen[digest] += 1
    for n, record in enumerate(records):
        when = start + timedelta(minutes=n)
        exchange = EXCHANGES[n % 2]
        if n < len(archive) * 0.8:
            outcome = rng.choice(["profitIfBackWins", "profitIfLayWins"])
            yield entry(when, "settle", record, outcome, "0.00", exchange)
        else:
            yield entry(when, "exchange", record, account=exchange)
    yield from free_bets(archive, records, start)


with open(sys.argv[1], "rb") as source:
    archive = [line.rstrip(b"\r\n") for line in source if line.strip()]
with open(sys.argv[2], "wb") as ledger:
    ledger.write(b"Version,Date,Action,Record,Outcome,Amount,Account,Note\r\n")
    for line in lines(archive, random.Random(2026)):
        ledger.write((line + "\r\n").encode())
