"""Building blocks of the game's sounds: oscillators, envelopes, noise,
a reverb and the writers for WAV and Ogg Vorbis files.

Everything works on whole numpy arrays of float samples in -1..1 at RATE
frames per second; randomness always comes from a generator the caller
seeds, so every file comes out the same on every run.
"""

import os
import subprocess
import tempfile
import wave

import numpy as np

RATE = 44100


def seconds(count):
    """Frames in that many seconds."""
    return int(round(count * RATE))


def timeline(duration):
    """Sample times of a sound of that many seconds."""
    return np.arange(seconds(duration)) / RATE


def midi(note):
    """Frequency of a MIDI note number (69 is A4, 440 Hz)."""
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


def additive(freq, t, partials, phase=0.0):
    """A tone built from harmonics: partials is a list of (multiple, level).
    freq may be a number or an array (a glide); harmonics above 18 kHz are
    left out so nothing folds back."""
    freq = np.broadcast_to(np.asarray(freq, dtype=float), t.shape)
    cycle = 2.0 * np.pi * np.cumsum(freq) / RATE + phase
    out = np.zeros_like(t)
    for multiple, level in partials:
        if np.max(freq) * multiple < 18000:
            out += level * np.sin(cycle * multiple)
    return out


def saw_partials(count, rolloff=1.0):
    """Harmonics of a saw-like tone, the higher ones softer by the rolloff."""
    return [(h, 1.0 / h ** rolloff) for h in range(1, count + 1)]


def square_partials(count):
    """Odd harmonics: a hollow, reedy tone."""
    return [(h, 1.0 / h) for h in range(1, count + 1, 2)]


def envelope(length, attack, release, hold=None, curve=1.0):
    """A gain of length frames: rises over attack seconds, holds, and falls
    over release seconds at the end (or after hold seconds when given)."""
    env = np.ones(length)
    a = min(seconds(attack), length)
    if a > 0:
        env[:a] = np.linspace(0.0, 1.0, a) ** curve
    r = min(seconds(release), length)
    end = length if hold is None else min(length, a + seconds(hold) + r)
    if r > 0:
        env[end - r:end] *= np.linspace(1.0, 0.0, r) ** curve
    env[end:] = 0.0
    return env


def decay(t, time_constant):
    """Exponential fall: 1 at t = 0, 1/e after time_constant seconds."""
    return np.exp(-t / time_constant)


def noise(rng, length):
    return rng.uniform(-1.0, 1.0, length)


def shaped_noise(rng, length, low, high, tilt=0.0):
    """Noise between low and high Hz, shaped in the frequency domain. It is
    periodic over its length, so it loops without a seam; tilt > 0 darkens it."""
    spectrum = rng.normal(size=length // 2 + 1) + 1j * rng.normal(size=length // 2 + 1)
    freqs = np.fft.rfftfreq(length, 1.0 / RATE)
    band = (freqs >= low) & (freqs <= high)
    weight = np.where(band, 1.0, 0.0)
    if tilt:
        weight = weight / np.maximum(freqs, low) ** tilt
    out = np.fft.irfft(spectrum * weight, length)
    return out / (np.max(np.abs(out)) + 1e-12)


def lowpass(signal, cutoff):
    """A gentle low-pass in the frequency domain (no phase shift)."""
    spectrum = np.fft.rfft(signal)
    freqs = np.fft.rfftfreq(len(signal), 1.0 / RATE)
    spectrum /= np.sqrt(1.0 + (freqs / cutoff) ** 4)
    return np.fft.irfft(spectrum, len(signal))


def highpass(signal, cutoff):
    spectrum = np.fft.rfft(signal)
    freqs = np.fft.rfftfreq(len(signal), 1.0 / RATE)
    spectrum *= 1.0 / np.sqrt(1.0 + (cutoff / np.maximum(freqs, 1.0)) ** 4)
    return np.fft.irfft(spectrum, len(signal))


def convolve(signal, response):
    """Convolution through the FFT; the result keeps the signal's length plus
    the response's tail."""
    size = len(signal) + len(response) - 1
    fft_size = 1 << (size - 1).bit_length()
    out = np.fft.irfft(np.fft.rfft(signal, fft_size) * np.fft.rfft(response, fft_size), fft_size)
    return out[:size]


def reverb(rng, signal, length=1.8, wet=0.25, brightness=6000.0):
    """A hall: the signal convolved with a decaying, darkened noise tail.
    Works on mono or stereo (frames × 2) arrays."""
    tail = timeline(length)
    response = lowpass(noise(rng, len(tail)), brightness) * decay(tail, length / 5.0)
    response /= np.sqrt(np.sum(response ** 2))
    if signal.ndim == 1:
        return np.concatenate([signal, np.zeros(len(tail) - 1)]) * (1.0 - wet) + wet * convolve(signal, response)
    channels = []
    for channel in range(signal.shape[1]):
        side = lowpass(noise(rng, len(tail)), brightness) * decay(tail, length / 5.0)
        side /= np.sqrt(np.sum(side ** 2))
        dry = np.concatenate([signal[:, channel], np.zeros(len(tail) - 1)])
        channels.append(dry * (1.0 - wet) + wet * convolve(signal[:, channel], 0.5 * (response + side)))
    return np.stack(channels, axis=1)


def place(track, sound, start, pan=0.0):
    """Mixes a mono sound into a stereo track at start seconds, panned
    -1 (left) .. 1 (right) with equal power; what would run past the end is cut."""
    begin = seconds(start)
    if begin >= len(track):
        return
    end = min(len(track), begin + len(sound))
    angle = (pan + 1.0) * np.pi / 4.0
    track[begin:end, 0] += sound[:end - begin] * np.cos(angle)
    track[begin:end, 1] += sound[:end - begin] * np.sin(angle)


def normalise(signal, peak=0.89):
    """Scales the loudest sample to the peak (about -1 dB)."""
    top = np.max(np.abs(signal))
    return signal if top == 0 else signal * (peak / top)


def fade_edges(signal, fade_in=0.005, fade_out=0.02):
    """Short fades so a sound never starts or stops with a click."""
    out = signal.copy()
    a, r = seconds(fade_in), seconds(fade_out)
    ramp_in = np.linspace(0.0, 1.0, a)
    ramp_out = np.linspace(1.0, 0.0, r)
    if out.ndim == 2:
        ramp_in, ramp_out = ramp_in[:, None], ramp_out[:, None]
    out[:a] *= ramp_in
    out[len(out) - r:] *= ramp_out
    return out


def to_pcm16(signal):
    return (np.clip(signal, -1.0, 1.0) * 32767.0).round().astype("<i2")


def _replace_atomically(path, write):
    """Writes through a temporary file beside the target and renames it, so a
    reader (or a second build) never sees half a file."""
    folder = os.path.dirname(path)
    os.makedirs(folder, exist_ok=True)
    handle, temporary = tempfile.mkstemp(dir=folder, suffix=".part")
    os.close(handle)
    os.chmod(temporary, 0o644)
    try:
        write(temporary)
        os.replace(temporary, path)
    finally:
        if os.path.exists(temporary):
            os.remove(temporary)


def _write_wav_file(path, signal):
    channels = 1 if signal.ndim == 1 else signal.shape[1]
    with wave.open(path, "wb") as out:
        out.setnchannels(channels)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(to_pcm16(signal).tobytes())


def write_wav(path, signal):
    """A 16-bit PCM WAV file, mono or stereo."""
    _replace_atomically(path, lambda temporary: _write_wav_file(temporary, signal))


def write_ogg(path, signal, serial, quality=4):
    """An Ogg Vorbis file through oggenc; the fixed stream serial keeps the
    file the same from run to run."""
    def encode(temporary):
        source = temporary + ".wav"
        try:
            _write_wav_file(source, signal)
            subprocess.run(["oggenc", "-Q", "-s", str(serial), "-q", str(quality), "-o", temporary, source],
                           check=True)
        finally:
            if os.path.exists(source):
                os.remove(source)
    _replace_atomically(path, encode)
