// Plays banner packages made by Quillbeam's Generate command in headless Chromium with Ruffle,
// served from 127.0.0.1, and checks what the movie types and where a click goes.
//
//   node playback_check.mjs MAKE_PACKAGE APPLICATION_FOLDER OUTPUT_FOLDER
//
// The movie traces every prefix it shows ("typed N text"), each file it starts ("file N speed S
// url U") and each file it gives up on ("skipped N"); the check reads those through Ruffle's
// trace observer, with the browser's clock, and takes screenshots for people to look at.
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { chromium } from 'playwright-core';

import { checkCaretPlace, checkLegibility, preparePictureSites } from './legibility.mjs';

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

function generatePackage(folder) {
    fs.mkdirSync(folder, { recursive: true });
    const output = execFileSync(makePackage, [folder, applicationFolder, CLICK_URL, ...MESSAGES],
                                { encoding: 'utf8' });
    if (!output.startsWith('Quillbeam: Done!')) fail(`Generate did not complete: ${output}`);
}

function prepareSite(site) {
    fs.rmSync(site, { recursive: true, force: true });
    fs.mkdirSync(site, { recursive: true });
    fs.symlinkSync(path.join(here, 'node_modules', '@ruffle-rs', 'ruffle'), path.join(site, 'ruffle'));
    // As generated.
    generatePackage(path.join(site, 'generated'));
    preparePictureSites(site, path.join(site, 'generated'));
    // Edited by hand afterwards: a slower speed in file 2, and file 3 missing.
    const edited = path.join(site, 'edited');
    generatePackage(edited);
    const second = path.join(edited, 'mytext2.txt');
    const bytes = fs.readFileSync(second, 'latin1');
    if (!bytes.includes('\r\n&speed=50&\r\n')) fail('mytext2.txt does not carry speed 50');
    fs.writeFileSync(second, bytes.replace('&speed=50&', `&speed=${EDITED_SPEED}&`), 'latin1');
    fs.rmSync(path.join(edited, 'mytext3.txt'));
    prepareDefaultSpeedPackage(path.join(site, 'defaults'));
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

// Runs in the page before its own markup: Ruffle's settings, and a trace collector that hooks
// into the player as soon as the movie's metadata is known (earlier hooks are dropped).
function pageSetup() {
    window.RufflePlayer = {
        config: {
            autoplay: 'on', unmuteOverlay: 'hidden', splashScreen: false, contextMenu: 'off',
            openUrlMode: 'allow', preferredRenderer: 'webgl', letterbox: 'off',
        },
    };
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

async function openBanner(context, url) {
    const page = await context.newPage();
    await page.addInitScript(pageSetup);
    await page.goto(url);
    await page.addScriptTag({ url: '/ruffle/ruffle.js' });
    const banner = page.locator('ruffle-object, ruffle-embed').first();
    await banner.waitFor({ timeout: 10_000 });
    return { page, banner };
}

// ---- Reading the trace ----------------------------------------------------------------------

// The trace as runs: one per file the movie started typing, with its typed prefixes in order.
function parseTrace(traces) {
    const runs = [];
    const skipped = [];
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
        }
    }
    return { runs, skipped };
}

const finished = (run, message) => run.typed.at(-1)?.text === shownText(message);

// Checks one run: typed one letter at a time, ending exactly in the window's text, at about the
// file's interval. Returns the measured intervals.
function checkRun(run, message, speed, label) {
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
    const { page, banner } = await openBanner(context, `${base}/generated/htmlcode.html`);
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
    report.push(`generated package: messages typed in the order ${order}, ` +
                `${intervals.length + 5} letters in all, each message exactly as typed in the window`);
    report.push(`  letter interval at speed 50: median ${median(intervals).toFixed(0)} ms, ` +
                `range ${Math.min(...intervals).toFixed(0)}-${Math.max(...intervals).toFixed(0)} ms`);
    report.push(`  finished message held ${holds.map((ms) => (ms / 1000).toFixed(1)).join(', ')} s before the next`);
    checkHoldTimes(holds);

    // The pointing hand over the banner, and a click opening the files' address in a new window.
    const box = await banner.boundingBox();
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
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
    const { page, banner } = await openBanner(context, `${base}/edited/htmlcode.html`);
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

// A finished message stays about two seconds. Each measured hold also takes in the next file's
// load, and a late last letter on a busy machine, so the typical one is judged.
function checkHoldTimes(holds) {
    const typical = median(holds);
    if (typical < HOLD_MS * 0.8 || typical > HOLD_MS * 1.5) {
        fail(`generated: a finished message was held ${(typical / 1000).toFixed(1)} s, not about ${HOLD_MS / 1000} s`);
    }
}

// Speeds edited by hand into nothing, zero and a word: each file must type at the default 50.
const DEFAULT_SPEED_CASES = ['', '0', 'fast'];

function prepareDefaultSpeedPackage(folder) {
    generatePackage(folder);
    DEFAULT_SPEED_CASES.forEach((speed, i) => {
        const file = path.join(folder, `mytext${i + 1}.txt`);
        const bytes = fs.readFileSync(file, 'latin1');
        fs.writeFileSync(file, bytes.replace('&speed=50&', `&speed=${speed}&`), 'latin1');
    });
}

async function checkDefaultSpeeds(context, base, report) {
    const { page, banner } = await openBanner(context, `${base}/defaults/htmlcode.html`);
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

// Stacks screenshots into one picture, composed in the browser.
async function composeStrip(context, chosen, file) {
    const page = await context.newPage();
    const images = chosen.map((frame) =>
        `<img src="data:image/png;base64,${fs.readFileSync(frame.file).toString('base64')}">`);
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
        const frames = await checkGeneratedPackage(context, base, report);
        await checkEditedPackage(context, base, report);
        await checkDefaultSpeeds(context, base, report);
        const count = await saveStrips(context, frames);
        const caret = await checkCaretPlace(context, frames, MESSAGES.map(shownText), fail);
        report.push(`caret after the last letter in ${caret.checked} screenshots while typing, on ${caret.lines} lines`);
        await checkLegibility(context, base, shownText(MESSAGES[0]), outputFolder, { openBanner, fail }, report);
        report.push(`${frames.length} screenshots in ${path.join(outputFolder, 'frames')}; ` +
                    `a strip of ${count} in ${path.join(outputFolder, 'banner-strip.png')}`);
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
