// Type-checks a Foundry VTT scene file against Foundry's published data types: writes a
// TypeScript file that assigns the scene, its walls, lights and notes to Scene, WallDocument,
// AmbientLightDocument and NoteDocument create data, and compiles it with tsc --strict.
// The types brand their choice fields (restriction and door types, the grid type); such a
// number is written as the member of its CONST table with that value, and a value that is
// no member fails to compile.
// Usage: node foundry-typecheck.mjs SCENE.json TYPES_DIR; exit status that of tsc.
import { readFileSync, writeFileSync, mkdtempSync, rmSync } from "node:fs";
import { join } from "node:path";
import { spawnSync } from "node:child_process";

const [scenePath, typesDir] = process.argv.slice(2);
const scene = JSON.parse(readFileSync(scenePath, "utf8"));
const choices = {
  move: "WALL_MOVEMENT_TYPES", sight: "WALL_SENSE_TYPES", light: "WALL_SENSE_TYPES",
  sound: "WALL_SENSE_TYPES", door: "WALL_DOOR_TYPES", ds: "WALL_DOOR_STATES", dir: "WALL_DIRECTIONS",
};
const value = (v, table) =>
  table ? `choice(foundry.CONST.${table}, ${JSON.stringify(v)})` : JSON.stringify(v);
const object = (o, tables = {}) =>
  "{" + Object.entries(o).map(([k, v]) => `${JSON.stringify(k)}: ${value(v, tables[k])}`).join(", ") + "}";
// Each document goes through its own typed call: one array literal of thousands of walls
// is more than the compiler infers at once.
const list = (kind, docs, tables) =>
  "[\n" + docs.map((d) => `  ${kind}(${object(d, tables)})`).join(",\n") + "\n]";

const { walls = [], lights = [], notes = [], grid = {}, ...rest } = scene;
const ts = `import "@league-of-foundry-developers/foundry-vtt-types";
// The member of a choice table with value V; a string type (no number) when there is none.
declare function choice<E extends Record<string, number>, V extends number>(
  table: E, v: V): [Extract<E[keyof E], V>] extends [never] ? "not a choice" : Extract<E[keyof E], V>;
declare function wall(d: WallDocument.CreateData): WallDocument.CreateData;
declare function light(d: AmbientLightDocument.CreateData): AmbientLightDocument.CreateData;
declare function note(d: NoteDocument.CreateData): NoteDocument.CreateData;
const walls: WallDocument.CreateData[] = ${list("wall", walls, choices)};
const lights: AmbientLightDocument.CreateData[] = ${list("light", lights)};
const notes: NoteDocument.CreateData[] = ${list("note", notes)};
const grid = ${object(grid, { type: "GRID_TYPES" })};
const scene: Scene.CreateData = ${object(rest).slice(0, -1)}, grid, walls, lights, notes};
export { scene };
`;
const work = mkdtempSync(join(typesDir, "check-"));
try {
  writeFileSync(join(work, "scene.ts"), ts);
  writeFileSync(join(work, "tsconfig.json"), JSON.stringify({
    compilerOptions: { strict: true, noEmit: true, target: "es2022", module: "nodenext",
                       moduleResolution: "nodenext", skipLibCheck: true, types: [] },
    files: ["scene.ts"],
  }));
  const tsc = spawnSync(process.execPath, [join(typesDir, "node_modules/typescript/bin/tsc"), "-p", work],
                        { encoding: "utf8" });
  process.stdout.write(tsc.stdout ?? "");
  process.stderr.write(tsc.stderr ?? "");
  process.exitCode = tsc.status ?? 1;
} finally {
  rmSync(work, { recursive: true, force: true });
}
