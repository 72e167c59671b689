#!/usr/bin/env python3
"""Writes qr.svg: the preview placeholder, a greyed stylised symbol that does
not decode (the module pattern is a fixed pseudo-random fill, not a code)."""
import pathlib

N, M = 21, 8                      # modules per side, pixels per module
W, H = 206, 207
X0, Y0 = (W - N * M) // 2, (H - N * M) // 2

def in_finder(r, c):
    return (r < 8 and c < 8) or (r < 8 and c >= N - 8) or (r >= N - 8 and c < 8)

def in_badge(r, c):
    return 7 <= r <= 13 and 7 <= c <= 13

state = 20121
cells = []
for r in range(N):
    for c in range(N):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        if in_finder(r, c) or in_badge(r, c):
            continue
        if (state >> 16) % 100 < 46:
            cells.append((r, c))

modules = "".join(f"M{X0 + c * M} {Y0 + r * M}h{M}v{M}h-{M}z" for r, c in cells)

def finder(r, c):
    x, y = X0 + c * M, Y0 + r * M
    return (f'<rect x="{x + 4}" y="{y + 4}" width="{7 * M - 8}" height="{7 * M - 8}" rx="6" '
            f'fill="none" stroke="#AEBBC8" stroke-width="8"/>'
            f'<rect x="{x + 2 * M}" y="{y + 2 * M}" width="{3 * M}" height="{3 * M}" rx="4" fill="#AEBBC8"/>')

cx, cy = X0 + N * M / 2, Y0 + N * M / 2
svg = f'''<?xml version="1.0" encoding="UTF-8"?>
<!-- Preview placeholder, {W} x {H}: written by make-placeholder.py. -->
<svg xmlns="http://www.w3.org/2000/svg" width="{W}" height="{H}" viewBox="0 0 {W} {H}">
  <defs>
    <linearGradient id="bg" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#F7F9FB"/>
      <stop offset="1" stop-color="#EBF0F4"/>
    </linearGradient>
  </defs>
  <rect width="{W}" height="{H}" fill="url(#bg)"/>
  <path d="{modules}" fill="#D3DBE3"/>
  {finder(0, 0)}
  {finder(0, N - 7)}
  {finder(N - 7, 0)}
  <rect x="{cx - 26}" y="{cy - 26}" width="52" height="52" rx="12" fill="#FFFFFF" stroke="#C9D3DC" stroke-width="2"/>
  <g transform="translate({cx - 12},{cy - 12})" fill="none" stroke="#7E93A8" stroke-width="3" stroke-linecap="round" stroke-linejoin="round">
    <path d="M4 20 L5 15 L16 4 L20 8 L9 19 Z"/>
    <path d="M13.5 6.5 L17.5 10.5"/>
  </g>
</svg>
'''
pathlib.Path(__file__).with_name("qr.svg").write_text(svg)
