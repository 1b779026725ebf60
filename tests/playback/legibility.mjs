// How legible the banner stays on any picture, and how its caret behaves, measured from
// screenshots.
//
// The first message is played over plain black, white, cream and mid-grey pictures, a busy one
// and the package's own dark picture, in the player's own choice of renderer, as a visitor's
// browser plays it (the one that lets the movie read the picture under its text). On black, the letters are the bright pixels that stay through the
// hold, and the caret the bright pixels that come and go; the text is laid out the same on every
// picture, so those two masks are used on all of them. Each screenshot is taken with the player
// held still right after the movie traced the caret's state, which the screenshot must then show.
// Contrast is the WCAG ratio of the mean
// relative luminance of the letters (or the caret) and of the pixels right around them, the ring
// one pixel wide that touches them.
//
// The caret's place is checked in the screenshots of the main run, over the dark picture, where
// every bright pixel belongs to the text: while a message is typed, a bar taller than any letter
// stands after the last letter of the last line.
//
// Text is read back with tesseract: the letters must read as solid shapes on the light cream
// picture, so the text read there must be as right as on the package's own picture.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { CANVAS_PAGE_NAME, PAGE_NAME } from './readme_page.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));

// Black first: the masks come from it. "dark" is the package's own picture, "light" a cream one.
// "grey on canvas" is played by Ruffle's canvas renderer, which draws no filters and cannot read
// the picture: the letters stay light, and only their outline copies keep them legible.
const PICTURES = ['black', 'white', 'light', 'grey', 'busy', 'dark', 'grey on canvas'];
const SHOWN_ORDER = ['light', 'white', 'busy', 'grey', 'black', 'dark'];
const READ_BACK = ['light', 'dark'];
const MIN_CONTRAST = 4.5;  // WCAG AA for text of this size
// Letters read as solid shapes, not outlines, when their fill itself stands out from the picture
// around them, as WCAG asks of the parts of a graphic.
const MIN_SOLID_CONTRAST = 3;
export const SPEED_MS = 20;  // the first message's speed, edited in: quicker than the default
const BRIGHT = 0.5;        // relative luminance of a letter pixel over black
const CARET_MIN_HEIGHT = 19;  // pixels: taller than any letter of the messages
const CARET_MAX_WIDTH = 4;
const CARET_MAX_GAP = 12;  // pixels between the last letter and the caret: a space at most

// sRGB channel value to linear light, as WCAG defines relative luminance.
const LINEAR = Array.from({ length: 256 }, (_, value) => {
    const c = value / 255;
    return c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
});
const contrastRatio = (a, b) => (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05);

// ---- Pixels ---------------------------------------------------------------------------------

// Decodes PNG screenshots in a browser page and returns each as relative luminance per pixel.
async function luminanceOf(context, pngs) {
    const page = await context.newPage();
    try {
        const decoded = await page.evaluate(async (sources) => Promise.all(sources.map(async (source) => {
            const image = new Image();
            image.src = `data:image/png;base64,${source}`;
            await image.decode();
            const canvas = document.createElement('canvas');
            canvas.width = image.naturalWidth;
            canvas.height = image.naturalHeight;
            const context2d = canvas.getContext('2d');
            context2d.drawImage(image, 0, 0);
            const { data } = context2d.getImageData(0, 0, canvas.width, canvas.height);
            let binary = '';
            for (let i = 0; i < data.length; i += 0x8000) {
                binary += String.fromCharCode(...data.subarray(i, i + 0x8000));
            }
            return { width: canvas.width, height: canvas.height, rgba: btoa(binary) };
        })), pngs.map((png) => png.toString('base64')));
        return decoded.map(({ width, height, rgba }) => {
            const bytes = Buffer.from(rgba, 'base64');
            const lum = new Float32Array(width * height);
            for (let i = 0; i < lum.length; ++i) {
                lum[i] = 0.2126 * LINEAR[bytes[4 * i]] + 0.7152 * LINEAR[bytes[4 * i + 1]] +
                         0.0722 * LINEAR[bytes[4 * i + 2]];
            }
            return { width, height, lum };
        });
    } finally {
        await page.close();
    }
}

// A mask is a Uint8Array over a frame's pixels.
function dilate(mask, width, height) {
    const out = new Uint8Array(mask.length);
    for (let y = 0; y < height; ++y) {
        for (let x = 0; x < width; ++x) {
            if (!mask[y * width + x]) continue;
            for (let dy = -1; dy <= 1; ++dy) {
                for (let dx = -1; dx <= 1; ++dx) {
                    const nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < width && ny < height) out[ny * width + nx] = 1;
                }
            }
        }
    }
    return out;
}

// The pixels touching `mask`, outside it and outside `excluded`.
function ringAround(mask, excluded, width, height) {
    const ring = dilate(mask, width, height);
    for (let i = 0; i < ring.length; ++i) if (mask[i] || excluded[i]) ring[i] = 0;
    return ring;
}

function meanOver(lum, mask) {
    let sum = 0, count = 0;
    for (let i = 0; i < mask.length; ++i) if (mask[i]) { sum += lum[i]; ++count; }
    return count ? sum / count : NaN;
}

export { luminanceOf };

export const brightMask = ({ lum }) => Uint8Array.from(lum, (value) => (value >= BRIGHT ? 1 : 0));

export function boundsOf(mask, width) {
    let left = Infinity, right = -1, top = Infinity, bottom = -1;
    for (let i = 0; i < mask.length; ++i) {
        if (!mask[i]) continue;
        const x = i % width, y = Math.floor(i / width);
        left = Math.min(left, x); right = Math.max(right, x);
        top = Math.min(top, y); bottom = Math.max(bottom, y);
    }
    return right < 0 ? null : { left, right, top, bottom };
}

// The caret in a frame where every bright pixel is text: the columns holding a bright run taller
// than any letter. Returns its bounds, or null.
function findCaret(frame, minHeight = CARET_MIN_HEIGHT) {
    const { width, height } = frame;
    const bright = brightMask(frame);
    const bar = new Uint8Array(bright.length);
    for (let x = 0; x < width; ++x) {
        let run = 0;
        for (let y = 0; y <= height; ++y) {
            if (y < height && bright[y * width + x]) { ++run; continue; }
            if (run >= minHeight) for (let k = y - run; k < y; ++k) bar[k * width + x] = 1;
            run = 0;
        }
    }
    return boundsOf(bar, width);
}

// Why the caret at `caret` is not right after the last letter of the last line of `letters`
// (a mask of the text without the caret), or '' when it is.
function caretMisplaced(caret, letters, width, height) {
    if (caret.right - caret.left + 1 > CARET_MAX_WIDTH) return `a bar ${caret.right - caret.left + 1} px wide`;
    let lastLetterRight = -1;
    for (let y = 0; y < height; ++y) {
        for (let x = 0; x < width; ++x) {
            if (!letters[y * width + x]) continue;
            if (y > caret.bottom + 2) return 'letters below the caret';
            if (y >= caret.top && y <= caret.bottom) {
                if (x > caret.right) return 'letters after the caret';
                if (x < caret.left) lastLetterRight = Math.max(lastLetterRight, x);
            }
        }
    }
    if (lastLetterRight < 0) return 'no letters on the caret\'s line';
    const gap = caret.left - lastLetterRight - 1;
    return gap > CARET_MAX_GAP ? `${gap} px after the last letter` : '';
}

// ---- Reading the text back ------------------------------------------------------------------

// The banner's text as tesseract reads it, in one line: the screenshot in grey, negated when it
// is dark (tesseract reads dark letters on light best), and scaled up 4 times.
export function readBack(png) {
    const convert = (args) => execFileSync('convert', ['png:-', '-colorspace', 'Gray', ...args], { input: png });
    const dark = Number(convert(['-format', '%[fx:mean]', 'info:'])) < 0.5;
    const scaled = convert([...(dark ? ['-negate'] : []), '-resize', '400%', 'png:-']);
    const text = execFileSync('tesseract', ['stdin', 'stdout'], { input: scaled, encoding: 'utf8', stdio: ['pipe', 'pipe', 'ignore'] });
    return text.replace(/\s+/g, ' ').trim();
}

// The fewest letters to insert, delete or change to turn `read` into `expected`, spaces and line
// breaks aside (where a line breaks, OCR reads a space).
export function misreadLetters(readText, expectedText) {
    const [read, expected] = [readText, expectedText].map((text) => text.replace(/\s+/g, ''));
    let row = Array.from({ length: expected.length + 1 }, (_, i) => i);
    for (let i = 1; i <= read.length; ++i) {
        const next = [i];
        for (let j = 1; j <= expected.length; ++j) {
            next[j] = Math.min(row[j] + 1, next[j - 1] + 1, row[j - 1] + (read[i - 1] === expected[j - 1] ? 0 : 1));
        }
        row = next;
    }
    return row[expected.length];
}

// ---- Playing on the pictures ----------------------------------------------------------------

// Copies of the generated package, each with another picture as mypic.jpg. Returns their folders.
export function preparePictureSites(site, generated) {
    return PICTURES.filter((name) => !name.includes(' on ')).map((name) => {
        const folder = path.join(site, `picture-${name}`);
        fs.mkdirSync(folder);
        for (const file of fs.readdirSync(generated)) fs.copyFileSync(path.join(generated, file), path.join(folder, file));
        if (name !== 'dark') fs.copyFileSync(path.join(here, 'pictures', `${name}.jpg`), path.join(folder, 'mypic.jpg'));
        return folder;
    });
}

// Plays the first message on one picture and takes a screenshot as its last letter shows (the
// caret showing), at the caret's first blink in the hold (hidden) and at its second (showing),
// each with the player held still at that moment. Returns them with the caret's state. A name
// "P on canvas" plays picture P in the page that asks for Ruffle's canvas renderer.
async function holdScreenshots(context, base, name, message, { openBanner, watch, checkHold, heldShot, exactly, fail }) {
    const [picture, renderer] = name.split(' on ');
    const { page, banner } = await openBanner(context, `${base}/picture-${picture}/${renderer ? CANVAS_PAGE_NAME : PAGE_NAME}`,
                                              { pauses: [exactly(`typed 1 ${message}`), '^caret false$', '^caret true$'] });
    const shots = [];
    const shoot = async ({ runs }) => {
        const png = await heldShot(context, page, banner, `picture-${name.replaceAll(' ', '-')}-${shots.length}`);
        shots.push({ png, caretShown: runs[0].blinks.at(-1)?.shown ?? true });
    };
    const { runs } = await watch(page, { done: ({ runs }) => runs.length > 1 || runs[0]?.holdEnd !== undefined, paused: shoot });
    await page.close();
    if (runs.length === 0) fail(`${name} picture: the banner typed nothing`);
    checkHold(runs[0], message, `${name} picture`);
    if (!runs[0].typed.length || runs[0].typed.at(-1).text !== message) fail(`${name} picture: the first message was not typed`);
    return shots;
}

// Plays the first message on every picture, checks the contrast and the caret's blinking, and
// stacks a held screenshot of each picture into banner-on-pictures.png.
export async function checkLegibility(context, base, message, outputFolder, helpers, report) {
    const { fail } = helpers;
    let letters, caret, width, height, exclusion;
    const chosen = {};
    const misread = {};
    report.push('legibility: contrast of the letters and of the caret with the pixels around them (WCAG, floor 4.5)');
    // The pictures' banners play at once, each held still by its own page for its screenshots.
    const shotsOf = await Promise.all(PICTURES.map((name) => holdScreenshots(context, base, name, message, helpers)));
    for (const [index, name] of PICTURES.entries()) {
        const shots = shotsOf[index];
        const frames = await luminanceOf(context, shots.map(({ png }) => png));
        if (name === 'black') {
            ({ width, height } = frames[0]);
            // Letters stay through the hold; the caret's pixels come and go.
            const masks = frames.map(brightMask);
            letters = masks.reduce((all, mask) => all.map((value, i) => value & mask[i]));
            const any = masks.reduce((all, mask) => all.map((value, i) => value | mask[i]));
            caret = any.map((value, i) => value & (1 - letters[i]));
            const caretBounds = boundsOf(caret, width);
            if (!caretBounds) fail('black picture: no caret came and went during the hold');
            const misplaced = caretMisplaced(caretBounds, letters, width, height);
            if (misplaced) fail(`black picture: the held caret is not after the last letter: ${misplaced}`);
            exclusion = dilate(dilate(dilate(caret, width, height), width, height), width, height);
        }
        const letterRing = ringAround(letters, exclusion, width, height);
        const caretRing = ringAround(caret, letters, width, height);
        // The picture just beyond the halo, three pixels from the letters.
        const nearLetters = dilate(dilate(letters, width, height), width, height);
        const pictureRing = ringAround(nearLetters, exclusion, width, height);
        let solidContrast = Infinity;
        let textContrast = Infinity, caretContrast = Infinity, showing = 0, hidden = 0, pick = null, bare = null;
        frames.forEach((frame, i) => {
            textContrast = Math.min(textContrast, contrastRatio(meanOver(frame.lum, letters), meanOver(frame.lum, letterRing)));
            solidContrast = Math.min(solidContrast, contrastRatio(meanOver(frame.lum, letters), meanOver(frame.lum, pictureRing)));
            // Showing means legible: a faint caret counts as hidden.
            const caretShown = contrastRatio(meanOver(frame.lum, caret), meanOver(frame.lum, caretRing));
            const visible = caretShown >= MIN_CONTRAST;
            if (visible !== shots[i].caretShown) {
                fail(`${name} picture: the caret was ${visible ? 'showing' : `hidden (contrast ${caretShown.toFixed(1)})`} ` +
                     `where the movie had ${shots[i].caretShown ? 'shown' : 'hidden'} it`);
            }
            if (visible) {
                ++showing;
                caretContrast = Math.min(caretContrast, caretShown);
                pick ??= shots[i].png;
            } else {
                ++hidden;
                bare ??= shots[i].png;
            }
        });
        if (textContrast < MIN_CONTRAST) fail(`${name} picture: the letters' contrast is ${textContrast.toFixed(2)}, under ${MIN_CONTRAST}`);
        if (solidContrast < MIN_SOLID_CONTRAST) {
            fail(`${name} picture: the letters' fill stands out from the picture by ${solidContrast.toFixed(2)}:1, under ${MIN_SOLID_CONTRAST}: only their halo carries them`);
        }
        if (caretContrast < MIN_CONTRAST) fail(`${name} picture: the caret's contrast is ${caretContrast.toFixed(2)}, under ${MIN_CONTRAST}`);
        if (showing === 0 || hidden === 0) fail(`${name} picture: the caret was not seen both showing and hidden in the hold (${shots.length} screenshots)`);
        report.push(`  ${name}: letters ${textContrast.toFixed(1)}:1 (fill against the picture ${solidContrast.toFixed(1)}:1), caret ${caretContrast.toFixed(1)}:1; ` +
                    `caret showing in ${showing} and hidden in ${hidden} screenshots of the hold, as the movie blinked it`);
        chosen[name] = pick ?? shots[0].png;
        if (READ_BACK.includes(name)) {
            const read = readBack(bare ?? shots[0].png);  // without the caret, read as a letter
            misread[name] = misreadLetters(read, message);
            report.push(`  ${name}: read back as ${JSON.stringify(read)}, ${misread[name]} letters wrong`);
        }
    }
    if (misread.light > misread.dark) {
        fail(`light picture: ${misread.light} letters read back wrong, against ${misread.dark} on the package's own picture`);
    }
    await composePictures(context, SHOWN_ORDER.map((name) => chosen[name]), path.join(outputFolder, 'banner-on-pictures.png'));
}

// Checks the screenshots of a run over the dark picture: while a message is typed the caret
// stands after its last letter, on a new line once the text wraps. Returns how many screenshots
// it checked and on how many lines the caret stood. `frames` are {file, shown, typing}, each
// taken with the player held still right after a letter (`typing`) or another trace.
export async function checkCaretPlace(context, frames, fail) {
    const typing = frames.filter((frame) => frame.typing);
    if (typing.length === 0) fail('no screenshot was taken while a message was typed');
    const decoded = await luminanceOf(context, typing.map(({ file }) => fs.readFileSync(file)));
    const lines = new Set();
    decoded.forEach((frame, i) => {
        const { caret, misplaced } = caretPlace(frame);
        const name = path.basename(typing[i].file);
        if (!caret) fail(`${name}: no caret while ${JSON.stringify(typing[i].shown)} was typed`);
        if (misplaced) fail(`${name}: the caret is not after the last letter: ${misplaced}`);
        lines.add(caret.top);
    });
    return { checked: typing.length, lines: lines.size };
}

// Where the caret stands in a frame where every bright pixel is text, why that is not right after
// the last letter ('' when it is), and the rows the letters take, as bands top to bottom: one to
// a line where no letter reaches below it. The caret is the only bright bar `caretMinHeight` tall.
export function caretPlace(frame, caretMinHeight = CARET_MIN_HEIGHT) {
    const caret = findCaret(frame, caretMinHeight);
    if (!caret) return { caret, misplaced: 'no caret', lines: [] };
    const letters = brightMask(frame);
    for (let y = caret.top; y <= caret.bottom; ++y) {
        for (let x = caret.left; x <= caret.right; ++x) letters[y * frame.width + x] = 0;
    }
    const lines = [];
    for (let y = 0; y < frame.height; ++y) {
        if (!letters.subarray(y * frame.width, (y + 1) * frame.width).includes(1)) continue;
        if (lines.at(-1)?.bottom === y - 1) lines.at(-1).bottom = y;
        else lines.push({ top: y, bottom: y });
    }
    return { caret, misplaced: caretMisplaced(caret, letters, frame.width, frame.height), lines };
}

// The held banner on each picture, stacked, for people to look at.
async function composePictures(context, pngs, file) {
    const page = await context.newPage();
    const images = pngs.map((png) => `<img src="data:image/png;base64,${png.toString('base64')}">`);
    await page.setContent(`<body style="margin:0;background:#333">
        <div id="strip" style="display:flex;flex-direction:column;gap:4px;width:max-content">
        ${images.join('')}</div></body>`);
    await page.locator('#strip').screenshot({ path: file });
    await page.close();
}
