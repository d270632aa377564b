#!/usr/bin/env python3
"""Draws a Foundry scene's walls, lights and notes over its picture, to look at by eye.

Usage: foundry-overlay.py SCENE.json OUT.png [SCALE]
The picture is the one beside SCENE.json (its background.src file name). Colours: walls
red, obstacles yellow, doors green (open: light green), secret doors magenta, windows
cyan, lights orange circles (dim radius), notes blue squares with their text. Needs
ImageMagick's /usr/bin/convert. A build/test-time aid, not part of the program.
"""
import json, os, subprocess, sys

scene_path, out = sys.argv[1], sys.argv[2]
scale = float(sys.argv[3]) if len(sys.argv) > 3 else 0.25
scene = json.load(open(scene_path))
picture = os.path.join(os.path.dirname(scene_path) or ".", os.path.basename(scene["background"]["src"]))
ppg = scene["grid"]["size"]
feet = scene["grid"]["distance"]
draw = []
def colour(w):
    if w["door"] == 2: return "magenta"
    if w["door"] == 1: return "lime" if w["ds"] == 1 else "green"
    if w["sight"] == 0: return "cyan"
    if w["move"] == 0: return "yellow"
    return "red"
for w in scene["walls"]:
    x0, y0, x1, y1 = (v * scale for v in w["c"])
    width = 3 if w["door"] else 1.5
    draw.append(f"stroke {colour(w)} stroke-width {width} line {x0:.1f},{y0:.1f} {x1:.1f},{y1:.1f}")
for l in scene["lights"]:
    x, y, r = l["x"] * scale, l["y"] * scale, l["config"]["dim"] / feet * ppg * scale
    draw.append(f"stroke orange stroke-width 1 fill none circle {x:.1f},{y:.1f} {x + r:.1f},{y:.1f}")
for n in scene["notes"]:
    x, y = n["x"] * scale, n["y"] * scale
    text = n["text"].replace("\\", "").replace("'", "")
    draw.append(f"stroke blue fill blue rectangle {x-4:.1f},{y-4:.1f} {x+4:.1f},{y+4:.1f}")
    draw.append(f"stroke none fill blue font-size 12 text {x+6:.1f},{y+4:.1f} '{text}'")
# One -draw argument: ImageMagick's policy here refuses reading drawing commands from a file.
subprocess.run(["/usr/bin/convert", picture, "-resize", f"{scale * 100}%", "-draw", " ".join(draw), out], check=True)
