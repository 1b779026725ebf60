// Plays banner packages made by Quillbeam's Generate command in headless Chromium with Ruffle,
// served from 127.0.0.1, and checks what the movie types and where a click goes.
//
//   node playback_check.mjs MAKE_PACKAGE APPLICATION_FOLDER OUTPUT_FOLDER
//
// The movie traces every prefix it shows ("typed N text"), each file it loads ("loading N"),
// starts ("file N speed S size Z url U"), passes over as blank ("empty N") or gives up on
// ("skipped N"), and its rest when every file is blank ("resting"); the check reads those through
// Ruffle's trace observer, with the browser's clock, and takes screenshots for people to look at.
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { chromium } from 'playwright-core';

import {
    boundsOf, brightMask, caretPlace, checkCaretPlace, checkLegibility, luminanceOf, misreadLetters,
    preparePictureSites, readBack, SPEED_MS as PICTURE_SPEED_MS,
} from './legibility.mjs';
import { PAGE_NAME, readmeRuffleLines, ruffleOverlaysShown, writeReadmePage } from './readme_page.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const [makePackage, applicationFolder, outputFolder] = process.argv.slice(2);
if (!outputFolder) {
    console.error('usage: node playback_check.mjs MAKE_PACKAGE APPLICATION_FOLDER OUTPUT_FOLDER');
    process.exit(2);
}

const CHROMIUM = '/usr/bin/chromium';
const OVERALL_LIMIT_MS = 240_000;
const FIRST_LETTER_LIMIT_MS = 10_000;
const CLICK_URL = 'offers/index.html?from=banner&week=1';
// As typed in the window: a line break is CR LF.
const MESSAGES = [
    'Welcome to our shop!\r\nNew offers every week',
    'Fish & chips für 2 € + peas: 100% = happy',
    'Müller’s café crème, €2 “to go”',
    'Click here for this week’s offers: fresh bread, local cheese and a free coffee with every order',
];
const EDITED_SPEED = 120;

// Messages of every length, typed fast (the pace is checked above): one word longer than a line,
// blank ones, one that fits only at a smaller size and one that scrolls even at the smallest.
const LONG_WORD = 'www.example.com/offers/summer-sale/books-maps-and-prints/half-price-all-weekend/members-free-shipping';
const FITS_SMALLER = 'Our summer sale starts on Saturday at 9 a.m.: every book, map and print in the shop is half ' +
    'price for the whole weekend, and our loyal club members get free shipping on printed posters, too. Tell ' +
    'your friends and come early!';
const SCROLLS = 'Opening hours this week: Monday to Friday from nine in the morning until seven in the evening, ' +
    'Saturday from ten until six, and Sunday closed. The coffee bar on the first floor serves breakfast until ' +
    'eleven and lunch until three, with soup, sandwiches and cakes baked in our own kitchen. Members collect ' +
    'points with every purchase and get a birthday voucher each year. Ask at the till for the new catalogue, ' +
    'and follow us for the dates of readings, signings and the winter market.';
const FAST_SPEED = 5;
const LENGTH_CASES = {
    long: [LONG_WORD, '', ' \r\n \r\n ', FITS_SMALLER],
    scroll: [SCROLLS, 'Short one', 'Last', ''],
    blank: ['', ' ', '\r\n', ' \r\n\r\n '],
};
const TOP_SIZE = 20, FLOOR_SIZE = 12;
const TEXT_RIGHT = 460;  // the message field's right edge on the stage, in pixels
const MOST_MISREAD = 0.03;  // of the letters, read back by OCR

class CheckFailure extends Error {}
function fail(message) {
    throw new CheckFailure(message);
}

// What the banner should show for a message: each line break as one break.
const shownText = (message) => message.replaceAll('\r\n', '\n');
const printable = (text) => JSON.stringify(text);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    return sorted[Math.floor(sorted.length / 2)];
};

// ---- Packages -------------------------------------------------------------------------------

function generatePackage(folder, messages = MESSAGES) {
    fs.mkdirSync(folder, { recursive: true });
    const output = execFileSync(makePackage, [folder, applicationFolder, CLICK_URL, ...messages],
                                { encoding: 'utf8' });
    if (!output.startsWith('Quillbeam: Done!')) fail(`Generate did not complete: ${output}`);
}

// Edits a generated file's speed, as a user may by hand.
function editSpeed(folder, number, speed) {
    const file = path.join(folder, `mytext${number}.txt`);
    const bytes = fs.readFileSync(file, 'latin1');
    if (!bytes.includes('\r\n&speed=50&\r\n')) fail(`mytext${number}.txt does not carry speed 50`);
    fs.writeFileSync(file, bytes.replace('&speed=50&', `&speed=${speed}&`), 'latin1');
}

function prepareSite(site) {
    fs.rmSync(site, { recursive: true, force: true });
    fs.mkdirSync(site, { recursive: true });
    // As generated.
    generatePackage(path.join(site, 'generated'));
    for (const folder of preparePictureSites(site, path.join(site, 'generated'))) editSpeed(folder, 1, PICTURE_SPEED_MS);
    // Edited by hand afterwards: a slower speed in file 2, and file 3 missing.
    const edited = path.join(site, 'edited');
    generatePackage(edited);
    editSpeed(edited, 2, EDITED_SPEED);
    fs.rmSync(path.join(edited, 'mytext3.txt'));
    prepareDefaultSpeedPackage(path.join(site, 'defaults'));
    for (const [name, messages] of Object.entries(LENGTH_CASES)) {
        generatePackage(path.join(site, name), messages);
        for (const number of [1, 2, 3, 4]) editSpeed(path.join(site, name), number, FAST_SPEED);
    }
    // Every package is played in the page the README tells users to write around it.
    const lines = readmeRuffleLines();
    for (const folder of fs.readdirSync(site)) writeReadmePage(path.join(site, folder), lines);
}

// ---- Server and browser ---------------------------------------------------------------------

function startServer(site) {
    const server = spawn('python3', ['-u', '-m', 'http.server', '--bind', '127.0.0.1', '0'],
                         { cwd: site, stdio: ['ignore', 'pipe', 'ignore'] });
    process.on('exit', () => server.kill());  // also when the time limit ends the check
    const port = new Promise((resolve, reject) => {
        let seen = '';
        server.stdout.on('data', (chunk) => {
            seen += chunk;
            const match = seen.match(/port (\d+)/);
            if (match) resolve(Number(match[1]));
        });
        server.on('exit', () => reject(new CheckFailure('the local web server did not start')));
    });
    return { server, port };
}

async function launchBrowser(profile) {
    return chromium.launchPersistentContext(profile, {
        executablePath: CHROMIUM,
        headless: true,
        viewport: { width: 640, height: 240 },
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
               '--disable-background-networking', '--disable-component-update', '--disable-sync',
               '--host-resolver-rules=MAP * ~NOTFOUND , EXCLUDE 127.0.0.1'],
    });
}

// Runs in the page before its own markup: a trace collector that hooks into the player as soon
// as the movie's metadata is known (earlier hooks are dropped). It only reads: Ruffle's settings
// are the README's, in the page.
function collectTraces() {
    window.bannerTraces = [];
    const hook = setInterval(() => {
        const player = document.querySelector('ruffle-object, ruffle-embed');
        const api = player && player.ruffle && player.ruffle();
        if (api && api.metadata) {
            api.traceObserver = (text) => window.bannerTraces.push({ at: performance.now(), text });
            clearInterval(hook);
        }
    }, 5);
}

// Opens a package's README page. The banner must start by itself: once Ruffle has started the
// movie or shown its play button, nothing of Ruffle's may cover the banner, and its splash screen
// must not have shown while Ruffle loaded.
async function openBanner(context, url) {
    const page = await context.newPage();
    await page.addInitScript(collectTraces);
    await page.goto(url);
    const banner = page.locator('ruffle-object, ruffle-embed').first();
    await banner.waitFor({ timeout: 10_000 });
    await page.waitForFunction((overlaysShown) => {
        const shown = new Function(`return (${overlaysShown})()`)();
        window.bannerOverlaysSeen = [...new Set([...(window.bannerOverlaysSeen ?? []), ...shown])];
        const api = document.querySelector('ruffle-object, ruffle-embed').ruffle?.();
        return api?.isPlaying || shown.includes('play button');
    }, ruffleOverlaysShown.toString(), { polling: 'raf', timeout: FIRST_LETTER_LIMIT_MS });
    const seen = await page.evaluate(() => window.bannerOverlaysSeen);
    if (seen.length > 0) fail(`${url}: Ruffle showed its ${seen.join(', ')} over the README's page`);
    return { page, banner };
}

// ---- Reading the trace ----------------------------------------------------------------------

// The trace as runs: one per file the movie started typing, with its typed prefixes in order.
function parseTrace(traces) {
    const runs = [];
    const skipped = [];
    const events = [];  // every other line, in order
    for (const { at, text } of traces) {
        let match;
        if ((match = text.match(/^file (\d+) speed (\S+) size (\d+) url ([^]*)$/))) {
            runs.push({ file: Number(match[1]), speed: Number(match[2]), size: Number(match[3]),
                        url: match[4], at, typed: [] });
        } else if ((match = text.match(/^typed (\d+) ([^]*)$/))) {
            const run = runs.at(-1);
            if (!run || run.file !== Number(match[1])) fail(`letters typed outside a file: ${text}`);
            run.typed.push({ at, text: match[2] });
        } else if ((match = text.match(/^skipped (\d+)$/))) {
            skipped.push({ file: Number(match[1]), at });
        } else {
            events.push({ text, at });
        }
    }
    return { runs, skipped, events };
}

const finished = (run, message) => run.typed.at(-1)?.text === shownText(message);

// Checks one run: typed one letter at a time, ending exactly in the window's text, at about the
// file's interval (unless `pace` is false). Returns the measured intervals.
function checkRun(run, message, speed, label, { pace = true } = {}) {
    const expected = shownText(message);
    if (run.typed.length === 0) fail(`${label}: message ${run.file} typed nothing`);
    run.typed.forEach(({ text }, i) => {
        if (text !== expected.slice(0, i + 1)) {
            fail(`${label}: message ${run.file} showed ${printable(text)} as letter ${i + 1}; ` +
                 `the window had ${printable(expected)}`);
        }
    });
    if (run.typed.length !== expected.length) {
        fail(`${label}: message ${run.file} stopped at ${printable(run.typed.at(-1).text)}; ` +
             `the window had ${printable(expected)}`);
    }
    if (run.speed !== speed) fail(`${label}: message ${run.file} ran at speed ${run.speed}, not ${speed}`);
    const intervals = run.typed.slice(1).map((letter, i) => letter.at - run.typed[i].at);
    if (!pace) return intervals;
    // The mean over the whole message: on a busy machine the player fires late timers in bursts,
    // which upsets a median but keeps the pace.
    const typical = (run.typed.at(-1).at - run.typed[0].at) / intervals.length;
    if (typical < speed * 0.7 || typical > speed * 1.5) {
        fail(`${label}: message ${run.file} typed a letter every ${typical.toFixed(0)} ms, ` +
             `not about every ${speed} ms`);
    }
    return intervals;
}

async function traceOf(page) {
    return parseTrace(await page.evaluate(() => window.bannerTraces));
}

// Waits until `done` holds for the trace, taking a screenshot of the banner now and then.
async function watch(page, banner, { limitMs, done, frames, prefix }) {
    const start = Date.now();
    for (;;) {
        const trace = await traceOf(page);
        if (done(trace)) return trace;
        const waited = Date.now() - start;
        if (trace.runs.length === 0 && waited > FIRST_LETTER_LIMIT_MS) {
            fail(`${prefix}: the banner typed nothing in ${FIRST_LETTER_LIMIT_MS / 1000} s`);
        }
        if (waited > limitMs) return trace;  // the checks below say what is missing
        if (frames) {
            const file = path.join(outputFolder, 'frames', `${prefix}-${String(frames.length).padStart(3, '0')}.png`);
            await banner.screenshot({ path: file });
            const run = trace.runs.at(-1);
            frames.push({ file, run: run?.file, shown: run?.typed.at(-1)?.text ?? '' });
        }
        await sleep(frames ? 150 : 250);
    }
}

// ---- The two cases --------------------------------------------------------------------------

async function checkGeneratedPackage(context, base, report) {
    const { page, banner } = await openBanner(context, `${base}/generated/${PAGE_NAME}`);
    const frames = [];
    // Two rounds of file 1 show the loop: 1, 2, 3, 4 and back to 1, typed to the end.
    const { runs, skipped } = await watch(page, banner, {
        limitMs: 45_000, frames, prefix: 'generated',
        done: ({ runs }) => runs.length >= 5 && finished(runs[4], MESSAGES[0]),
    });
    if (skipped.length > 0) fail(`generated: the movie skipped file ${skipped[0].file}`);
    const order = runs.map((run) => run.file).join(', ');
    if (!order.startsWith('1, 2, 3, 4, 1')) fail(`generated: messages came in the order ${order}, not 1, 2, 3, 4, 1`);
    const intervals = [];
    runs.slice(0, 5).forEach((run, i) => intervals.push(...checkRun(run, MESSAGES[i % 4], 50, 'generated')));
    for (const run of runs.slice(0, 5)) {
        if (run.url !== CLICK_URL) fail(`generated: file ${run.file} gave the address ${printable(run.url)}`);
    }
    const holds = [1, 2, 3, 4].map((i) => runs[i].at - runs[i - 1].typed.at(-1).at);
    const expectedHolds = MESSAGES.map((message) => holdFor(shownText(message)));
    report.push(`generated package: messages typed in the order ${order}, ` +
                `${intervals.length + 5} letters in all, each message exactly as typed in the window`);
    report.push(`  letter interval at speed 50: median ${median(intervals).toFixed(0)} ms, ` +
                `range ${Math.min(...intervals).toFixed(0)}-${Math.max(...intervals).toFixed(0)} ms`);
    report.push(`  finished message held ${holds.map((ms) => (ms / 1000).toFixed(1)).join(', ')} s before the next ` +
                `(${expectedHolds.map((ms) => (ms / 1000).toFixed(2)).join(', ')} s to read it)`);
    checkHoldTimes(holds, expectedHolds);

    // The pointing hand over the banner, and a click opening the files' address in a new window.
    const box = await banner.boundingBox();
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    // Where the browser draws without a graphics card, as here, Ruffle's renderer tells it so by a
    // notice on the first mouse-over, which no setting turns off; a visitor closes it.
    const covering = await page.evaluate(ruffleOverlaysShown);
    if (covering.join() === 'notice hardware-acceleration-modal') {
        report.push('  Ruffle showed its notice that the browser draws without hardware acceleration; closed');
        await banner.locator('#hardware-acceleration-modal .close-modal').click();
        // Ruffle follows the pointer only when it moves.
        await page.mouse.move(box.x + box.width / 2 - 20, box.y + box.height / 2);
        await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    } else if (covering.length > 0) {
        fail(`generated: Ruffle showed its ${covering.join(', ')} over the banner`);
    }
    await sleep(300);
    const cursor = await banner.evaluate((element) => {
        const canvas = element.shadowRoot?.querySelector('canvas');
        return canvas ? getComputedStyle(canvas).cursor : getComputedStyle(element).cursor;
    });
    if (cursor !== 'pointer') fail(`generated: the cursor over the banner is "${cursor}", not a pointing hand`);
    const popup = page.waitForEvent('popup', { timeout: 5_000 }).catch(() => null);
    await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    const opened = await popup;
    if (!opened) fail('generated: a click on the banner opened nothing');
    // The new window may show up before it has started loading the address.
    await opened.waitForURL((url) => url.protocol === 'http:', { timeout: 5_000 }).catch(() => {});
    const expectedUrl = new URL(CLICK_URL, `${base}/generated/`).href;
    if (opened.url() !== expectedUrl) fail(`generated: the click opened ${opened.url()}, not ${expectedUrl}`);
    report.push(`  pointing-hand cursor over the banner; a click opened ${opened.url()} in a new window`);
    await opened.close();
    await page.close();
    return frames;
}

async function checkEditedPackage(context, base, report) {
    const { page, banner } = await openBanner(context, `${base}/edited/${PAGE_NAME}`);
    const { runs, skipped } = await watch(page, banner, {
        limitMs: 30_000, prefix: 'edited',
        done: ({ runs }) => runs.length >= 3 && finished(runs[2], MESSAGES[3]),
    });
    const order = runs.map((run) => run.file).join(', ');
    if (!order.startsWith('1, 2, 4')) fail(`edited: messages came in the order ${order}, not 1, 2, 4`);
    if (!skipped.some((skip) => skip.file === 3)) fail('edited: the missing file 3 was not reported as skipped');
    const slow = checkRun(runs[1], MESSAGES[1], EDITED_SPEED, 'edited');
    checkRun(runs[2], MESSAGES[3], 50, 'edited');
    const gap = (runs[2].at - runs[1].typed.at(-1).at) / 1000;
    report.push(`edited package: speed ${EDITED_SPEED} in file 2 gave a median interval of ` +
                `${median(slow).toFixed(0)} ms; missing file 3 skipped, file 4 began ${gap.toFixed(1)} s after file 2 ended`);
    await page.close();
}

// ---- Hold time and default speed ------------------------------------------------------------

const HOLD_MS = 2000;
const READING_MS_PER_LETTER = 50;

// A finished message stays long enough to read at 20 letters a second, and at least 2 seconds.
const holdFor = (text) => Math.max(HOLD_MS, READING_MS_PER_LETTER * text.length);

// No hold may end early. Each measured hold also takes in the next file's load, and a late last
// letter on a busy machine, so only the typical one is judged for being too long.
function checkHoldTimes(holds, expected) {
    const shares = holds.map((hold, i) => hold / expected[i]);
    const shortest = Math.min(...shares);
    if (shortest < 0.9) fail(`generated: a finished message was held ${(shortest * 100).toFixed(0)}% of the time to read it`);
    if (median(shares) > 1.5) fail(`generated: finished messages were held ${(median(shares) * 100).toFixed(0)}% of the time to read them`);
}

// Speeds edited by hand into nothing, zero and a word: each file must type at the default 50.
const DEFAULT_SPEED_CASES = ['', '0', 'fast'];

function prepareDefaultSpeedPackage(folder) {
    generatePackage(folder);
    DEFAULT_SPEED_CASES.forEach((speed, i) => editSpeed(folder, i + 1, speed));
}

async function checkDefaultSpeeds(context, base, report) {
    const { page, banner } = await openBanner(context, `${base}/defaults/${PAGE_NAME}`);
    const count = DEFAULT_SPEED_CASES.length;
    const { runs } = await watch(page, banner, {
        limitMs: 30_000, prefix: 'defaults',
        done: ({ runs }) => runs.length >= count && finished(runs[count - 1], MESSAGES[count - 1]),
    });
    if (runs.length < count) fail(`defaults: only ${runs.length} of ${count} messages were typed`);
    DEFAULT_SPEED_CASES.forEach((speed, i) => checkRun(runs[i], MESSAGES[i], 50, `defaults (speed "${speed}")`));
    report.push(`speed ${DEFAULT_SPEED_CASES.map(printable).join(', ')}: each file typed at the default 50 ms`);
    await page.close();
}

// ---- Messages of any length -----------------------------------------------------------------

// A screenshot of the banner once the browser has drawn what the trace has shown, kept in frames/.
async function heldShot(context, page, banner, name) {
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
    const { x, y, width, height } = await banner.boundingBox();
    const devtools = await context.newCDPSession(page);
    const { data } = await devtools.send('Page.captureScreenshot', { format: 'png', clip: { x, y, width, height, scale: 1 } });
    const png = Buffer.from(data, 'base64');
    fs.writeFileSync(path.join(outputFolder, 'frames', `${name}.png`), png);
    return png;
}

// Reads `png` back by OCR and checks it against `expected` (the same length of the message's
// end, when only its end shows). Returns what was read.
function checkReadBack(png, message, label, report, { end = false } = {}) {
    const read = readBack(png);
    const letters = (text) => text.replace(/\s+/g, '').length;
    let start = 0;  // of the end that holds as many letters as were read
    for (let kept = letters(message); end && kept > letters(read); ++start) kept -= /\s/.test(message[start]) ? 0 : 1;
    const expected = message.slice(start);
    const wrong = misreadLetters(read, expected);
    report.push(`  ${label}: read back by OCR with ${wrong} of ${letters(expected)} letters wrong`);
    if (wrong > letters(expected) * MOST_MISREAD) fail(`${label}: read back as ${printable(read)}, not ${printable(expected)}`);
    return read;
}

async function checkLongWord(context, { page, banner }, report) {
    const { runs } = await watch(page, banner, {
        limitMs: 15_000, prefix: 'long', done: ({ runs }) => runs.length >= 1 && finished(runs[0], LONG_WORD),
    });
    checkRun(runs[0], LONG_WORD, FAST_SPEED, 'long word', { pace: false });
    // Screenshots until one shows the blinking caret (it shows half of every 1.06 s).
    let png, frame, place;
    for (let shots = 0; shots < 10 && !place?.caret; ++shots) {
        png = await heldShot(context, page, banner, 'long-word');
        [frame] = await luminanceOf(context, [png]);
        place = caretPlace(frame);
    }
    if (place.misplaced) fail(`long word: the caret is not after its last letter: ${place.misplaced}`);
    const text = boundsOf(brightMask(frame), frame.width);  // no pixel of the picture is as bright
    if (!text) fail('long word: nothing shows');
    report.push(`a word of ${LONG_WORD.length} letters: lines ${text.top}-${text.bottom} px, letters up to x = ${text.right} px`);
    if (text.right > TEXT_RIGHT) fail(`long word: letters reach x = ${text.right} px, past the text's right edge at ${TEXT_RIGHT}`);
    if (text.bottom - text.top < 2 * TOP_SIZE) fail('long word: it was not broken onto more lines');
    checkReadBack(png, LONG_WORD, 'long word', report);
    return png;
}

async function checkSkipsAndFit(context, { page, banner }, report) {
    const { runs, events } = await watch(page, banner, {
        limitMs: 20_000, prefix: 'long', done: ({ runs }) => runs.length >= 2 && finished(runs[1], FITS_SMALLER),
    });
    const order = runs.map((run) => run.file).join(', ');
    if (!order.startsWith('1, 4')) fail(`long: messages came in the order ${order}, not 1, 4`);
    for (const file of [2, 3]) {
        if (!events.some(({ text }) => text === `empty ${file}`)) fail(`long: blank file ${file} was not passed over`);
    }
    const gap = runs[1].at - events.find(({ text }) => text === 'loading 2').at;
    report.push(`blank files 2 and 3 passed over: file 4 began ${gap.toFixed(0)} ms after file 1's hold`);
    if (gap > 1000) fail(`long: the blank files took ${gap.toFixed(0)} ms, more than a second`);
    checkRun(runs[1], FITS_SMALLER, FAST_SPEED, 'fit', { pace: false });
    report.push(`a message of ${FITS_SMALLER.length} characters typed at size ${runs[1].size}`);
    if (!(runs[1].size < TOP_SIZE)) fail(`fit: a message of ${FITS_SMALLER.length} characters was typed at size ${runs[1].size}`);
    const png = await heldShot(context, page, banner, 'fits-smaller');
    checkReadBack(png, FITS_SMALLER, `${FITS_SMALLER.length} characters`, report);
    return png;
}

async function checkScrolling(context, base, report) {
    const { page, banner } = await openBanner(context, `${base}/scroll/${PAGE_NAME}`);
    const { runs } = await watch(page, banner, {
        limitMs: 20_000, prefix: 'scroll', done: ({ runs }) => runs.length >= 1 && finished(runs[0], SCROLLS),
    });
    checkRun(runs[0], SCROLLS, FAST_SPEED, 'scroll', { pace: false });
    if (runs[0].size !== FLOOR_SIZE) fail(`scroll: a message of ${SCROLLS.length} characters was typed at size ${runs[0].size}`);
    const png = await heldShot(context, page, banner, 'scrolled');
    const read = checkReadBack(png, SCROLLS, `the last lines of ${SCROLLS.length} characters at size ${FLOOR_SIZE}`, report, { end: true });
    if (read.length > SCROLLS.length * 0.9) fail('scroll: the whole message showed at once, or the read was not of its end');
    await page.close();
    return png;
}

// Plays the long messages, and meanwhile a package of blank files, which must come to rest: no
// more files loaded, nothing shown but the picture.
async function checkLengths(context, base, report) {
    const blankRequests = [];
    const countRequest = (request) => {
        if (/\/blank\/mytext\d\.txt$/.test(request.url())) blankRequests.push(request.url());
    };
    context.on('request', countRequest);
    const blank = await openBanner(context, `${base}/blank/${PAGE_NAME}`);

    const long = await openBanner(context, `${base}/long/${PAGE_NAME}`);
    const wordPng = await checkLongWord(context, long, report);
    const fitPng = await checkSkipsAndFit(context, long, report);
    await long.page.close();
    const scrollPng = await checkScrolling(context, base, report);

    const { runs, events } = await traceOf(blank.page);
    const seen = events.map(({ text }) => text).filter((text) => !text.startsWith('loading ')).join(', ');
    const resting = events.findIndex(({ text }) => text === 'resting');
    if (runs.length > 0 || seen !== 'empty 1, empty 2, empty 3, empty 4, resting' || resting < events.length - 1) {
        fail(`blank: four blank files gave ${runs.length} messages and ${printable(events.slice(0, 12).map(({ text }) => text).join(', '))}…`);
    }
    context.off('request', countRequest);
    // Each file is read twice: as raw text and as form data.
    if (blankRequests.length > 8) fail(`blank: the banner made ${blankRequests.length} requests for its files, not 8 and then rested`);
    const [still] = await luminanceOf(context, [await heldShot(context, blank.page, blank.banner, 'blank')]);
    if (boundsOf(brightMask(still), still.width)) fail('blank: the resting banner shows more than its picture');
    report.push(`four blank files: the banner rested on its picture after loading each once (${blankRequests.length} requests)`);
    await blank.page.close();
    await (await composeStrip(context, [fitPng, scrollPng, wordPng], path.join(outputFolder, 'banner-long-messages.png'))).close();
}

// Stacks screenshots into one picture, composed in the browser.
async function composeStrip(context, chosen, file) {
    const page = await context.newPage();
    const images = chosen.map((frame) =>
        `<img src="data:image/png;base64,${(frame.file ? fs.readFileSync(frame.file) : frame).toString('base64')}">`);
    await page.setContent(`<body style="margin:0;background:#333">
        <div id="strip" style="display:flex;flex-direction:column;gap:4px;width:max-content">
        ${images.join('')}</div></body>`);
    await page.locator('#strip').screenshot({ path: file });
    return page;
}

// A strip of frames, for people to look at: for each message a frame partly typed and one
// finished. Also checks that the backdrop picture is showing, and makes the README's picture.
async function saveStrips(context, frames) {
    const partly = [], whole = [];
    for (const [index, message] of MESSAGES.entries()) {
        const mine = frames.filter((frame) => frame.run === index + 1);
        partly.push(mine.find((frame) => frame.shown.length >= shownText(message).length / 2));
        whole.push(mine.find((frame) => frame.shown === shownText(message)));
    }
    const chosen = MESSAGES.flatMap((_, i) => [partly[i], whole[i]]).filter(Boolean);
    if (chosen.length === 0) fail('no screenshot shows the banner typing');
    const page = await composeStrip(context, chosen, path.join(outputFolder, 'banner-strip.png'));
    const corner = await page.evaluate(() => {
        const image = document.querySelector('img');
        const canvas = document.createElement('canvas');
        canvas.width = image.naturalWidth;
        canvas.height = image.naturalHeight;
        const context2d = canvas.getContext('2d');
        context2d.drawImage(image, 0, 0);
        return Array.from(context2d.getImageData(4, canvas.height - 4, 1, 1).data.slice(0, 3));
    });
    if (corner.reduce((sum, value) => sum + value, 0) < 20) {
        fail('the banner shows plain black where the backdrop picture should be');
    }
    await page.close();
    const readme = [whole[0], partly[1], whole[2]].filter(Boolean);
    await (await composeStrip(context, readme, path.join(outputFolder, 'banner-playing.png'))).close();
    return chosen.length;
}

// ---- Main -----------------------------------------------------------------------------------

async function main() {
    fs.rmSync(outputFolder, { recursive: true, force: true });
    fs.mkdirSync(path.join(outputFolder, 'frames'), { recursive: true });
    const site = path.join(outputFolder, 'site');
    prepareSite(site);
    const { server, port } = startServer(site);
    let context;
    try {
        const base = `http://127.0.0.1:${await port}`;
        context = await launchBrowser(path.join(outputFolder, 'profile'));
        const report = [];
        const times = [];
        const timed = async (name, step) => {
            const start = Date.now();
            const result = await step();
            times.push(`${name} ${((Date.now() - start) / 1000).toFixed(0)} s`);
            return result;
        };
        const frames = await timed('generated', () => checkGeneratedPackage(context, base, report));
        await timed('edited', () => checkEditedPackage(context, base, report));
        await timed('defaults', () => checkDefaultSpeeds(context, base, report));
        await timed('lengths', () => checkLengths(context, base, report));
        const count = await saveStrips(context, frames);
        const caret = await checkCaretPlace(context, frames, MESSAGES.map(shownText), fail);
        report.push(`caret after the last letter in ${caret.checked} screenshots while typing, on ${caret.lines} lines`);
        await timed('pictures', () => checkLegibility(context, base, shownText(MESSAGES[0]), outputFolder, { openBanner, fail }, report));
        report.push(`${frames.length} screenshots in ${path.join(outputFolder, 'frames')}; ` +
                    `a strip of ${count} in ${path.join(outputFolder, 'banner-strip.png')}`);
        report.push(`time: ${times.join(', ')}`);
        console.log(report.join('\n'));
    } finally {
        await context?.close();
        server.kill();
    }
}

const limit = setTimeout(() => {
    console.error(`FAIL: the playback check took longer than ${OVERALL_LIMIT_MS / 1000} s`);
    process.exit(1);
}, OVERALL_LIMIT_MS);

main().then(() => {
    clearTimeout(limit);
    console.log('PASS: the generated banner plays in headless Chromium with Ruffle');
}).catch((error) => {
    console.error(`FAIL: ${error instanceof CheckFailure ? error.message : error.stack}`);
    process.exit(1);
});
