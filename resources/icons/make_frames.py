#!/usr/bin/env python3
"""Writes the sixteen frames of the animated window icon to frames/.

A blue box with a golden rim; a sparkle travels once around its outline
during the sixteen frames, turning and pulsing as it goes, and the face of
the box catches a faint glint while the sparkle passes over its front.
"""
import math
import pathlib

FRAMES = 16
# The box's outline, clockwise from the front face's top left corner.
OUTLINE = [(4, 12), (10, 6), (28, 6), (28, 22), (22, 28), (4, 28)]


def point_on_outline(fraction):
    edges = list(zip(OUTLINE, OUTLINE[1:] + OUTLINE[:1]))
    lengths = [math.dist(a, b) for a, b in edges]
    distance = fraction * sum(lengths)
    for (a, b), length in zip(edges, lengths):
        if distance <= length:
            t = distance / length
            return a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t
        distance -= length
    return OUTLINE[0]


def sparkle(x, y, radius, angle):
    """A four-pointed star centred on (x, y)."""
    points = []
    for i in range(8):
        r = radius if i % 2 == 0 else radius * 0.28
        a = math.radians(angle + i * 45)
        points.append(f"{x + r * math.sin(a):.2f},{y - r * math.cos(a):.2f}")
    return " ".join(points)


def frame(index):
    fraction = index / FRAMES
    x, y = point_on_outline(fraction)
    pulse = 1 + 0.18 * math.sin(2 * math.pi * fraction * 4)
    radius = 5.6 * pulse
    angle = index * 360 / FRAMES / 2
    # The glint on the front face is brightest while the sparkle runs along
    # the bottom and left edges, nearest the viewer.
    glint = 0.15 + 0.35 * max(0.0, math.sin(2 * math.pi * (fraction - 0.55)))
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">
  <defs>
    <linearGradient id="front" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#3d86e8"/>
      <stop offset="1" stop-color="#1f55b0"/>
    </linearGradient>
    <linearGradient id="top" x1="0" y1="1" x2="1" y2="0">
      <stop offset="0" stop-color="#8cc2ff"/>
      <stop offset="1" stop-color="#bfe0ff"/>
    </linearGradient>
    <linearGradient id="side" x1="0" y1="0" x2="1" y2="1">
      <stop offset="0" stop-color="#1b4a98"/>
      <stop offset="1" stop-color="#123a7c"/>
    </linearGradient>
    <radialGradient id="glow" cx="0.5" cy="0.5" r="0.5">
      <stop offset="0" stop-color="#fff6c8" stop-opacity="0.95"/>
      <stop offset="1" stop-color="#ffd23f" stop-opacity="0"/>
    </radialGradient>
  </defs>
  <g stroke="#c8961e" stroke-width="1" stroke-linejoin="round">
    <polygon points="4,12 10,6 28,6 22,12" fill="url(#top)"/>
    <polygon points="22,12 28,6 28,22 22,28" fill="url(#side)"/>
    <rect x="4" y="12" width="18" height="16" fill="url(#front)"/>
  </g>
  <polygon points="6,26 12,14 15.5,14 9.5,26" fill="#ffffff" opacity="{glint:.2f}"/>
  <line x1="4.5" y1="16.5" x2="21.5" y2="16.5" stroke="#ffd864" stroke-width="1.2" opacity="0.9"/>
  <circle cx="{x:.2f}" cy="{y:.2f}" r="{radius * 0.9:.2f}" fill="url(#glow)"/>
  <polygon points="{sparkle(x, y, radius, angle)}" fill="#fff8d6" stroke="#f0b400" stroke-width="0.6" stroke-linejoin="round"/>
  <circle cx="{x:.2f}" cy="{y:.2f}" r="1.1" fill="#ffffff"/>
</svg>
"""


def main():
    folder = pathlib.Path(__file__).parent / "frames"
    folder.mkdir(exist_ok=True)
    for index in range(FRAMES):
        (folder / f"frame{index:02d}.svg").write_text(frame(index))


if __name__ == "__main__":
    main()
