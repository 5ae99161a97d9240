#!/usr/bin/env python3
"""Makes a music collection of real MP3 files for the describe benchmark.

Usage: bench-music.py BASE ARTISTS ALBUMS SONGS

Writes BASE/<ARTISTS>x<ALBUMS>x<SONGS>-v<N>/music in the layout taggers and download stores use
(Artist/Album (Year)/NN - Title.mp3, every tenth artist's first album split into CD 1 and CD 2
folders), with long names, accented, Greek and Japanese ones among them, and prints that folder.
A few short songs are encoded once with lame, each in another mode (CBR, ABR, VBR with and
without its header frame, mono, MPEG-2, 48 kHz), in parallel; every song of the collection is one
of them behind an ID3v2 tag of its own (some with padding, some with an ID3v1 tag as well). A
collection already made with the same parameters is reused.
"""

import array
import math
import os
import random
import shutil
import struct
import subprocess
import sys
import wave

GENERATOR_VERSION = 1
SAMPLE_RATE = 44100

# Each source: its length in seconds and lame's options.
SOURCES = [
    (3.5, ["-b", "128"]),
    (4.2, ["-V", "2"]),
    (2.8, ["-V", "4", "-t"]),
    (5.1, ["--abr", "160"]),
    (3.1, ["-b", "64", "-m", "m"]),
    (4.6, ["--resample", "48", "-b", "192"]),
    (6.0, ["-V", "0"]),
    (3.9, ["--resample", "22.05", "-b", "64"]),
]

FIRST_WORDS = ["The", "Velvet", "Northern", "Electric", "Silent", "Crimson", "Golden", "Midnight",
               "Café", "Città", "Zoë's", "Ελληνική", "東京", "Wandering", "Distant", "Hollow"]
NOUNS = ["Orchestra", "Lights", "Harbour", "Ensemble", "Collective", "Gardens", "Rivers",
         "Pilots", "Quartet", "Mountains", "Échos", "Φωνές", "夜明け", "Machines", "Strangers"]
TITLE_WORDS = ["Speak", "to", "Me", "Breathe", "in", "the", "Air", "On", "Run", "Time",
               "Great", "Gig", "Sky", "Money", "Us", "and", "Them", "Any", "Colour", "You",
               "Like", "Brain", "Damage", "Eclipse", "Señorita", "Über", "Déjà", "Vu", "光",
               "さくら", "Καλημέρα", "Long", "Way", "Home", "Tonight", "Forever"]
GENRES = ["Rock", "Jazz", "Ambient", "Pop", "Folk", "Electronic", "Classical", "Blues"]


def words(rng, pool, low, high):
    return " ".join(rng.choice(pool) for _ in range(rng.randint(low, high)))


def make_wave(path, seconds, seed):
    """A chord with some noise, so that VBR encodings vary from frame to frame."""
    rng = random.Random(seed)
    tones = [rng.uniform(110, 880) for _ in range(3)]
    count = int(seconds * SAMPLE_RATE)
    samples = array.array("h", bytes(4 * count))
    for i in range(count):
        t = i / SAMPLE_RATE
        value = sum(math.sin(2 * math.pi * f * t) for f in tones) / 3
        value = 0.6 * value + 0.2 * (rng.random() - 0.5)
        sample = int(value * 26000)
        samples[2 * i] = sample
        samples[2 * i + 1] = -sample
    with wave.open(path, "wb") as out:
        out.setnchannels(2)
        out.setsampwidth(2)
        out.setframerate(SAMPLE_RATE)
        out.writeframes(samples.tobytes())


def encode_sources(folder):
    """Encodes every source with lame in parallel; returns their bytes."""
    os.makedirs(folder, exist_ok=True)
    jobs = []
    for number, (seconds, options) in enumerate(SOURCES):
        wav = os.path.join(folder, f"{number}.wav")
        mp3 = os.path.join(folder, f"{number}.mp3")
        make_wave(wav, seconds, number)
        command = ["lame", "--quiet", "--noreplaygain", *options, wav, mp3]
        jobs.append((subprocess.Popen(command), mp3))
    sources = []
    for job, mp3 in jobs:
        if job.wait() != 0:
            sys.exit(f"bench-music: lame failed on {mp3}")
        with open(mp3, "rb") as data:
            sources.append(data.read())
        os.remove(mp3[:-len(".mp3")] + ".wav")
    return sources


def syncsafe(size):
    return bytes([(size >> 21) & 0x7F, (size >> 14) & 0x7F, (size >> 7) & 0x7F, size & 0x7F])


def text_frame(frame_id, text):
    try:
        body = b"\x00" + text.encode("latin-1")
    except UnicodeEncodeError:
        body = b"\x01" + text.encode("utf-16")
    return frame_id.encode() + struct.pack(">I", len(body)) + b"\x00\x00" + body


def id3v2(fields, padding):
    frames = b"".join(text_frame(frame_id, text) for frame_id, text in fields)
    return b"ID3\x03\x00\x00" + syncsafe(len(frames) + padding) + frames + bytes(padding)


def id3v1(title, artist, album, year, track):
    def field(text, size):
        return text.encode("latin-1", "replace")[:size].ljust(size, b"\x00")

    return (b"TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) +
            field("", 28) + b"\x00" + bytes([track]) + b"\xff")


def safe(name):
    return name.replace("/", "-")


def write_collection(music, sources, artists, albums, songs):
    rng = random.Random(20261208)
    for a in range(artists):
        artist = f"{words(rng, FIRST_WORDS, 1, 3)} {rng.choice(NOUNS)} {a + 1:03d}"
        genre = rng.choice(GENRES)
        for b in range(albums):
            year = str(rng.randint(1965, 2025))
            album = words(rng, TITLE_WORDS, 2, 6).title()
            folder = os.path.join(music, safe(artist), safe(f"{album} ({year})"))
            while os.path.exists(folder):
                folder += " II"
            two_discs = a % 10 == 0 and b == 0
            for s in range(songs):
                title = words(rng, TITLE_WORDS, 2, 7).capitalize()
                track = s + 1
                where = folder
                if two_discs:
                    where = os.path.join(folder, "CD 1" if s < songs // 2 else "CD 2")
                os.makedirs(where, exist_ok=True)
                fields = [("TIT2", title), ("TPE1", artist), ("TALB", album),
                          ("TRCK", f"{track}/{songs}"), ("TYER", year), ("TCON", genre)]
                padding = rng.choice([0, 0, 256, 1024, 4096])
                data = id3v2(fields, padding) + rng.choice(sources)
                if rng.random() < 0.25:
                    data += id3v1(title, artist, album, year, track)
                path = os.path.join(where, safe(f"{track:02d} - {title}.mp3"))
                with open(path, "wb") as out:
                    out.write(data)


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__.strip().splitlines()[2])
    base = sys.argv[1]
    artists, albums, songs = (int(value) for value in sys.argv[2:5])
    home = os.path.join(base, f"{artists}x{albums}x{songs}-v{GENERATOR_VERSION}")
    music = os.path.join(home, "music")
    complete = os.path.join(home, "complete")
    if not os.path.exists(complete):
        shutil.rmtree(home, ignore_errors=True)
        sources = encode_sources(os.path.join(home, "sources"))
        partial = music + ".partial"
        write_collection(partial, sources, artists, albums, songs)
        os.rename(partial, music)
        with open(complete, "w") as out:
            out.write(f"{artists} {albums} {songs}\n")
    print(music)


if __name__ == "__main__":
    main()
