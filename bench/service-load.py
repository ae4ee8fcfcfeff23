#!/usr/bin/env python3
"""Load on quillet-service: transfers held in phase 2, clients fetching pages, slow clients.

Started by bench/service-load.sh, which gives the service's binary, a ringtone and a store.
Prints the latency of the page fetches (p50, p99) without and with slow clients, and the memory
the service takes per held transfer.
"""
import argparse
import asyncio
import os
import re
import signal
import subprocess
import time

BOUNDARY = "__=_Part_Boundary_001_123456.654321"


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def threads(pid):
    return len(os.listdir(f"/proc/{pid}/task"))


async def exchange(port, request):
    """Sends a request with Connection: close and reads the whole answer; (head, body)."""
    reader, writer = await asyncio.open_connection("127.0.0.1", port)
    writer.write(request)
    await writer.drain()
    data = await reader.read(-1)
    writer.close()
    head, _, body = data.partition(b"\r\n\r\n")
    if b"transfer-encoding: chunked" in head.lower():
        body = dechunk(body)
    return head, body


def dechunk(data):
    out = b""
    while data:
        size_text, _, rest = data.partition(b"\r\n")
        size = int(size_text, 16)
        if size == 0:
            break
        out += rest[:size]
        data = rest[size + 2:]
    return out


def value(body, keyword):
    for line in body.decode().split("\r\n"):
        if line.startswith(keyword):
            return line[len(keyword):]
    raise RuntimeError(f"no {keyword} in {body!r}")


def path_of(url):
    return url[url.index("/", len("http://")):]


async def prepare(port, tone):
    """Upload and phase 1 of one transfer: the address of phase 2."""
    part = f"\r\n--{BOUNDARY}\r\nContent-Disposition: form-data; name="
    body = (f'Content-Type: multipart/mixed; boundary="{BOUNDARY}"\r\n{part}"MAX_FILE_SIZE"'
            f'\r\n\r\n21474836480{part}"userfile"; filename="tone.ogg"\r\n\r\n').encode()
    body += tone + f"\r\n--{BOUNDARY}--\r\n".encode()
    head = (f"POST /php/client-upload-dgst.php HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n"
            f"Content-Type: multipart/form-data; boundary={BOUNDARY}\r\n"
            f"Content-Length: {len(body)}\r\nConnection: close\r\n\r\n").encode()
    _, answer = await exchange(port, head + body)
    url = value(answer, "CONTINUE:") + "?" + value(answer, "TOKEN:")
    _, answer = await exchange(
        port, f"GET {path_of(url)} HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\nConnection: close\r\n\r\n"
        .encode())
    return path_of(value(answer, "CONTINUE:")) + "?" + value(answer, "TOKEN:")


async def hold(port, path):
    """Opens phase 2 and reads until the waiting line: the connection and the page token."""
    reader, writer = await asyncio.open_connection("127.0.0.1", port)
    writer.write(f"GET {path} HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n\r\n".encode())
    await writer.drain()
    data = b""
    while b"102 Waiting for the user" not in data:
        chunk = await reader.read(4096)
        if not chunk:
            raise RuntimeError("phase 2 ended early: " + data.decode(errors="replace"))
        data += chunk
    token = re.search(rb"TOKEN:([0-9a-f]+)", data).group(1).decode()
    return reader, writer, token


async def bounded(limit, coroutines):
    gate = asyncio.Semaphore(limit)

    async def one(coroutine):
        async with gate:
            return await coroutine
    return await asyncio.gather(*(one(c) for c in coroutines))


async def fetcher(port, pages, until, latencies, failures):
    """One client: fetches the pages in turn on a kept connection, a short pause between."""
    reader = writer = None
    i = 0
    while time.monotonic() < until:
        page = pages[i % len(pages)]
        i += 1
        start = time.monotonic()
        try:
            if writer is None:
                reader, writer = await asyncio.open_connection("127.0.0.1", port)
            writer.write(f"GET {page} HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n\r\n".encode())
            await writer.drain()
            head = await reader.readuntil(b"\r\n\r\n")
            length = int(re.search(rb"(?i)content-length: *(\d+)", head).group(1))
            await reader.readexactly(length)
            if not head.startswith(b"HTTP/1.1 200"):
                failures.append(head.split(b"\r\n")[0])
        except (OSError, asyncio.IncompleteReadError, AttributeError) as error:
            failures.append(repr(error))
            writer = None
            continue
        latencies.append(time.monotonic() - start)
        await asyncio.sleep(0.02)


async def slow_client(port, stop, counts):
    """Sends a request a byte every 5 s; connects again when the service closes on it."""
    request = f"GET /help HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n\r\n".encode()
    while not stop.is_set():
        try:
            reader, writer = await asyncio.open_connection("127.0.0.1", port)
        except OSError:
            await asyncio.sleep(1)
            continue
        counts["connections"] += 1
        for byte in request:
            writer.write(bytes([byte]))
            try:
                await writer.drain()
                got = await asyncio.wait_for(reader.read(4096), 5)
            except asyncio.TimeoutError:
                if stop.is_set():
                    break
                continue
            except OSError:
                got = b""
            if not got:
                counts["cut off"] += 1
                break
            counts["answered"] += 1
            break
        writer.close()


async def measure(port, pages, seconds, clients):
    latencies, failures = [], []
    until = time.monotonic() + seconds
    await asyncio.gather(*(fetcher(port, pages, until, latencies, failures)
                           for _ in range(clients)))
    latencies.sort()
    ms = lambda q: 1000 * latencies[min(len(latencies) - 1, int(q * len(latencies)))]
    return {"requests": len(latencies), "per second": round(len(latencies) / seconds),
            "p50 ms": round(ms(0.50), 2), "p99 ms": round(ms(0.99), 2),
            "max ms": round(1000 * latencies[-1], 2), "failures": len(failures),
            "first failure": failures[0] if failures else None}


async def main():
    options = argparse.ArgumentParser()
    options.add_argument("--service", required=True)
    options.add_argument("--tone", required=True)
    options.add_argument("--store", required=True)
    options.add_argument("--held", type=int, default=1000)
    options.add_argument("--clients", type=int, default=50)
    options.add_argument("--slow", type=int, default=200)
    options.add_argument("--seconds", type=float, default=20)
    options.add_argument("--read-timeout", type=int, default=15000)
    args = options.parse_args()
    tone = open(args.tone, "rb").read()

    service = subprocess.Popen([args.service, "--port", "0", "--store", args.store,
                                "--read-timeout", str(args.read_timeout)],
                               stdout=subprocess.PIPE, text=True)
    port = int(re.search(r":(\d+)/", service.stdout.readline()).group(1))
    # The log is read and dropped, so the service never waits on its pipe.
    loop = asyncio.get_running_loop()
    loop.add_reader(service.stdout.fileno(), lambda: os.read(service.stdout.fileno(), 1 << 16))
    print(f"quillet-service on port {port}, pid {service.pid}")

    started = time.monotonic()
    paths = await bounded(16, [prepare(port, tone) for _ in range(args.held)])
    print(f"{args.held} uploads and first continues: {time.monotonic() - started:.1f} s")
    await asyncio.sleep(1)
    before, threads_before = rss_kib(service.pid), threads(service.pid)
    started = time.monotonic()
    held = await bounded(64, [hold(port, path) for path in paths])
    await asyncio.sleep(1)
    after, threads_after = rss_kib(service.pid), threads(service.pid)
    print(f"{len(held)} transfers held in phase 2 ({time.monotonic() - started:.1f} s to open)")
    print(f"service memory: {before} KiB before, {after} KiB with them held: "
          f"{(after - before) / len(held):.1f} KiB per held transfer; "
          f"threads {threads_before} -> {threads_after}")

    pages = ["/", "/help", "/inbox", f"/transfer?{held[0][2]}", f"/transfer?{held[1][2]}"]
    result = await measure(port, pages, args.seconds, args.clients)
    print(f"{args.clients} page clients, {len(held)} held: {result}")

    stop = asyncio.Event()
    counts = {"connections": 0, "cut off": 0, "answered": 0}
    slow = [asyncio.create_task(slow_client(port, stop, counts)) for _ in range(args.slow)]
    await asyncio.sleep(2)
    result = await measure(port, pages, args.seconds, args.clients)
    print(f"{args.clients} page clients, {len(held)} held, {args.slow} slow clients: {result}")
    print(f"slow clients: {counts}")
    stop.set()

    # Every held answer still ends when its person chooses: cancel a few and read the ends.
    for reader, writer, token in held[:10]:
        form = f"token={token}".encode()
        await exchange(port, f"POST /transfer/cancel HTTP/1.1\r\nHost: x\r\nContent-Type: "
                       f"application/x-www-form-urlencoded\r\nContent-Length: {len(form)}\r\n"
                       f"Connection: close\r\n\r\n".encode() + form)
        rest = await asyncio.wait_for(reader.read(-1), 10)
        assert b"500 Transfer cancelled by the user" in rest, rest
    print("10 held transfers cancelled on their page: each answer ended with its 500 line")

    started = time.monotonic()
    service.send_signal(signal.SIGTERM)
    code = await loop.run_in_executor(None, service.wait)
    print(f"SIGTERM with {len(held) - 10} held: exit {code} after "
          f"{time.monotonic() - started:.2f} s")
    for task in slow:
        task.cancel()
    await asyncio.gather(*slow, return_exceptions=True)
    for _, writer, _ in held:
        writer.close()


if __name__ == "__main__":
    asyncio.run(main())
