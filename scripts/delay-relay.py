#!/usr/bin/env python3
"""A TCP relay that holds every chunk for a fixed delay in each direction, in order, so that a
connection through it behaves like one over a network with that latency (for the network-share
benchmark, where the kernel's netem queueing discipline is not available).

    delay-relay.py LISTEN_PORT TARGET_PORT DELAY_MS
"""
import asyncio
import sys


async def pump(reader, writer, delay):
    loop = asyncio.get_running_loop()
    queue = asyncio.Queue()

    async def deliver():
        while True:
            due, data = await queue.get()
            wait = due - loop.time()
            if wait > 0:
                await asyncio.sleep(wait)
            if not data:
                writer.close()
                return
            writer.write(data)
            await writer.drain()

    sender = asyncio.create_task(deliver())
    try:
        while True:
            data = await reader.read(65536)
            queue.put_nowait((loop.time() + delay, data))
            if not data:
                break
        await sender
    except (ConnectionError, asyncio.CancelledError):
        sender.cancel()
        writer.close()


async def main():
    listen_port, target_port, delay_ms = int(sys.argv[1]), int(sys.argv[2]), float(sys.argv[3])
    delay = delay_ms / 1000

    async def handle(client_reader, client_writer):
        server_reader, server_writer = await asyncio.open_connection("127.0.0.1", target_port)
        await asyncio.gather(pump(client_reader, server_writer, delay),
                             pump(server_reader, client_writer, delay),
                             return_exceptions=True)

    server = await asyncio.start_server(handle, "127.0.0.1", listen_port)
    print(f"relay 127.0.0.1:{listen_port} -> {target_port}, {delay_ms} ms each way", flush=True)
    async with server:
        await server.serve_forever()


asyncio.run(main())
