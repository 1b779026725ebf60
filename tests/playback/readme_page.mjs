// The page the README tells a user to write: the sample page's markup, Ruffle's files in a folder
// `ruffle` beside it, and the README's lines for Ruffle in its head. The lines are read from the
// README itself, so that what the browser check and the banner benchmark play is what users copy.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
export const README = path.join(here, '..', '..', 'README.md');
export const RUFFLE_FILES = path.join(here, 'node_modules', '@ruffle-rs', 'ruffle');
export const PAGE_NAME = 'page.html';

// The README's one fenced html block that loads ruffle/ruffle.js, without the list's indentation.
export function readmeRuffleLines(readme = README) {
    const blocks = [...fs.readFileSync(readme, 'utf8').matchAll(/^( *)```html\n([^]*?)^ *```$/gm)]
        .map(([, indent, body]) => body.split('\n').map((line) => line.replace(new RegExp(`^ {0,${indent.length}}`), '')).join('\n'))
        .filter((body) => body.includes('<script src="ruffle/ruffle.js"></script>'));
    if (blocks.length !== 1) {
        throw new Error(`${readme} has ${blocks.length} html blocks that load ruffle/ruffle.js, not one`);
    }
    return blocks[0].trimEnd();
}

// The same page with Ruffle's canvas renderer asked for, as the README says a page may: it shows
// how the banner plays where the player draws no filters and cannot read a picture.
export const CANVAS_PAGE_NAME = 'page-canvas.html';

// Writes both pages into a package folder: htmlcode.html (left as it is) with `lines` before the
// end of its head, and links Ruffle's files in as the folder `ruffle`.
export function writeReadmePage(folder, lines = readmeRuffleLines()) {
    const sample = fs.readFileSync(path.join(folder, 'htmlcode.html'), 'latin1');
    if (!sample.includes('</head>')) throw new Error(`${folder}/htmlcode.html has no head`);
    const write = (name, head) => fs.writeFileSync(
        path.join(folder, name), sample.replace('</head>', `${head.replaceAll('\n', '\r\n')}\r\n</head>`), 'latin1');
    write(PAGE_NAME, lines);
    const ruffle = '<script src="ruffle/ruffle.js"></script>';
    write(CANVAS_PAGE_NAME, lines.replace(ruffle, `<script>window.RufflePlayer.config.preferredRenderer = "canvas";</script>\n${ruffle}`));
    fs.rmSync(path.join(folder, 'ruffle'), { force: true });
    fs.symlinkSync(RUFFLE_FILES, path.join(folder, 'ruffle'));
}

// What of Ruffle's own interface shows over the banner: its play button, the overlay asking for a
// click to unmute, its splash screen, a message, or a notice (a modal). Runs in the page.
export function ruffleOverlaysShown() {
    const player = document.querySelector('ruffle-object, ruffle-embed');
    const shadow = player?.shadowRoot;
    if (!shadow) return [];
    const shown = (element) => element && getComputedStyle(element).display !== 'none' &&
        !element.classList.contains('hidden');
    const names = { 'play-button': 'play button', 'unmute-overlay': 'unmute overlay',
                    'splash-screen': 'splash screen', 'message-overlay': 'message' };
    const found = Object.entries(names).filter(([id]) => shown(shadow.getElementById(id))).map(([, name]) => name);
    for (const modal of shadow.querySelectorAll('.modal')) if (shown(modal)) found.push(`notice ${modal.id}`);
    return found;
}
