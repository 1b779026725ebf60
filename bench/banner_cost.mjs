// What the banner costs a visitor: the processor time of the whole browser while it shows a page,
// against Ruffle's floor, a movie of the banner's size that does nothing.
//
//   node bench/banner_cost.mjs BUILD_FOLDER OUTPUT_FOLDER [--rounds N] [--seconds S]
//        [--settle S] [--only NAME,...] [--movie LABEL=FILE.swf ...] [--floor-rate FPS ...]
//        [--quiet CORES] [--smoke]
//
// Each page is played by a fresh headless Chromium (software drawing, as on a machine without a
// graphics card) from a loopback server, as the README's page: the sample page with the README's
// lines for Ruffle. After `settle` seconds the processor time of every process of that browser is
// read, and again `seconds` later; the difference is given in seconds per minute. The page's own
// animation frames are counted over the same time. The pages run interleaved, round after round,
// each round starting one page further on; the figures are medians over the rounds, and each ratio
// is taken within a round, against the floor played by the same renderer. What the rest of the
// machine used meanwhile is reported; --quiet waits before each page until it uses less than
// CORES of processor time and runs no stress-ng.
//
// --smoke plays the floor and the typing banner for a few seconds and only checks that the
// measurement works: the banner starts by itself, asks for its files, and shows no overlay.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import { chromium } from '../tests/playback/node_modules/playwright-core/index.mjs';
import { CANVAS_PAGE_NAME, PAGE_NAME, ruffleOverlaysShown, writeReadmePage } from '../tests/playback/readme_page.mjs';
import { startServer } from '../tests/playback/local_server.mjs';

const CHROMIUM = '/usr/bin/chromium';
const CLICK_URL = 'offers/index.html';
const FLOOR_RATE = 24;  // the rate the banner was first made at, as most banners of its time
// The browser check's messages: short ones, typed and held in turn.
const SHORT = [
    'Welcome to our shop!\r\nNew offers every week',
    'Fish & chips für 2 € + peas: 100% = happy',
    'Müller’s café crème, €2 “to go”',
    'Click here for this week’s offers: fresh bread, local cheese and a free coffee with every order',
];
const LONG = 'Opening hours this week: Monday to Friday from nine in the morning until seven in the evening, ' +
    'Saturday from ten until six, and Sunday closed. The coffee bar on the first floor serves breakfast until ' +
    'eleven and lunch until three, with soup, sandwiches and cakes baked in our own kitchen. Members collect ' +
    'points with every purchase and get a birthday voucher each year. Ask at the till for the new catalogue, ' +
    'and follow us for the dates of readings, signings and the winter market.';
const KINDS = {
    typing: { what: 'four short messages', messages: SHORT },
    holding: { what: 'holding (one-letter messages)', messages: ['A', 'B', 'C', 'D'] },
    scrolling: { what: `a ${LONG.length}-character message that scrolls`, messages: [LONG, '', '', ''] },
};
const RENDERERS = ['default', 'canvas'];

// ---- Options ----------------------------------------------------------------------------------

function parseOptions(argv) {
    const [build, output, ...rest] = argv;
    if (!output) {
        console.error('usage: node bench/banner_cost.mjs BUILD_FOLDER OUTPUT_FOLDER [--rounds N] [--seconds S] ' +
                      '[--settle S] [--only NAME,...] [--movie LABEL=FILE.swf ...] [--floor-rate FPS ...] ' +
                      '[--quiet CORES] [--smoke]');
        process.exit(2);
    }
    const options = { build: path.resolve(build), output: path.resolve(output), rounds: 3, seconds: 60, settle: 5,
                      only: null, movies: [], floorRates: [FLOOR_RATE], smoke: false, quiet: 0 };
    for (let i = 0; i < rest.length; ++i) {
        const value = () => rest[++i] ?? (console.error(`${rest[i - 1]} needs a value`), process.exit(2));
        switch (rest[i]) {
            case '--rounds': options.rounds = Number(value()); break;
            case '--seconds': options.seconds = Number(value()); break;
            case '--settle': options.settle = Number(value()); break;
            case '--only': options.only = value().split(/,(?! )/); break;  // a name may hold ", "
            case '--movie': {
                const [label, file] = value().split('=');
                options.movies.push({ label, file: path.resolve(file) });
                break;
            }
            case '--floor-rate': options.floorRates.push(Number(value())); break;
            case '--smoke': options.smoke = true; break;
            case '--quiet': options.quiet = Number(value()); break;
            default: console.error(`unknown option ${rest[i]}`); process.exit(2);
        }
    }
    if (options.smoke) Object.assign(options, { rounds: 1, seconds: 3, settle: 0, only: ['floor', 'banner typing'] });
    return options;
}

// ---- Pages ------------------------------------------------------------------------------------

function generatePackage(build, folder, messages) {
    fs.mkdirSync(folder, { recursive: true });
    const output = execFileSync(path.join(build, 'bin', 'make_package'),
                                [folder, path.join(build, 'bin'), CLICK_URL, ...messages], { encoding: 'utf8' });
    if (!output.startsWith('Quillbeam: Done!')) throw new Error(`Generate did not complete: ${output}`);
}

// The README's page, and the same with Ruffle's canvas renderer.
function writePages(folder) {
    writeReadmePage(folder);
    fs.renameSync(path.join(folder, PAGE_NAME), path.join(folder, 'default.html'));
    fs.renameSync(path.join(folder, CANVAS_PAGE_NAME), path.join(folder, 'canvas.html'));
}

// References without Ruffle: the picture alone, and the short messages typed by a few lines of
// script over it, with a blinking caret and a dark halo.
function writeReferencePages(site, picture) {
    const folder = path.join(site, 'reference');
    fs.mkdirSync(folder, { recursive: true });
    fs.copyFileSync(picture, path.join(folder, 'mypic.jpg'));
    const body = '<body style="margin:0;background:#000">' +
        '<div style="position:relative;width:468px;height:100px;background:url(mypic.jpg)">';
    fs.writeFileSync(path.join(folder, 'blank.html'), `<!DOCTYPE html><html><head><meta charset="utf-8"></head>${body}</div></body></html>`);
    const messages = JSON.stringify(SHORT.map((message) => message.replaceAll('\r\n', '\n')));
    fs.writeFileSync(path.join(folder, 'plain-js.html'), `<!DOCTYPE html><html><head><meta charset="utf-8"></head>${body}
<div id="text" style="position:absolute;left:10px;top:6px;right:10px;color:#fff;font:20px sans-serif;white-space:pre-wrap;
text-shadow:-1px -1px #000,1px -1px #000,-1px 1px #000,1px 1px #000"></div></div>
<script>
const messages = ${messages};
const text = document.getElementById('text');
let message = 0, typed = 0, caret = true, blink = null;
const show = () => { text.textContent = messages[message].slice(0, typed) + (caret ? '|' : ''); };
function typeNext() {
  if (typed < messages[message].length) { ++typed; show(); setTimeout(typeNext, 50); return; }
  blink = setInterval(() => { caret = !caret; show(); }, 530);
  setTimeout(() => { clearInterval(blink); caret = true; message = (message + 1) % messages.length; typed = 0; typeNext(); },
             Math.max(2000, 50 * messages[message].length));
}
typeNext();
</script></body></html>`);
}

function prepareSite(options) {
    const site = path.join(options.output, 'site');
    fs.rmSync(site, { recursive: true, force: true });
    const variants = [];
    const add = (name, folder, file, { ruffle = true } = {}) => variants.push({ name, folder, file, ruffle });
    writeReferencePages(site, path.join(options.build, 'bin', 'Template', 'mypic.jpg'));
    add('blank page with the picture', 'reference', 'blank.html', { ruffle: false });
    add('plain-JS typing, same messages and picture', 'reference', 'plain-js.html', { ruffle: false });
    for (const rate of options.floorRates) {
        const folder = `floor-${rate}`;
        generatePackage(options.build, path.join(site, folder), ['', '', '', '']);
        execFileSync(path.join(options.build, 'bin', 'floor_movie'), [path.join(site, folder, 'bannerloop2.swf'), String(rate)]);
        writePages(path.join(site, folder));
        const name = rate === FLOOR_RATE ? 'floor' : `floor at ${rate} fps`;
        for (const renderer of RENDERERS) add(renderer === 'default' ? name : `${name}, canvas`, folder, `${renderer}.html`);
    }
    const movies = [{ label: 'banner', file: null }, ...options.movies];
    for (const { label, file } of movies) {
        for (const [kind, { messages }] of Object.entries(KINDS)) {
            const folder = `${label}-${kind}`;
            generatePackage(options.build, path.join(site, folder), messages);
            if (file) fs.copyFileSync(file, path.join(site, folder, 'bannerloop2.swf'));
            writePages(path.join(site, folder));
            for (const renderer of RENDERERS) {
                add(`${label} ${kind}${renderer === 'default' ? '' : ', canvas'}`, folder, `${renderer}.html`);
            }
        }
    }
    const chosen = options.only ? variants.filter(({ name }) => options.only.includes(name)) : variants;
    if (chosen.length === 0) throw new Error(`no page is named ${options.only.join(', ')}`);
    return { site, variants: chosen };
}


// ---- Processor time ---------------------------------------------------------------------------

const TICKS_PER_SECOND = Number(execFileSync('getconf', ['CLK_TCK'], { encoding: 'utf8' }));

// Every process below this one except `excluded`, with its kind (Chromium's --type, or "browser")
// and its processor time so far in ticks, its own and that of its children it has waited for.
function browserProcesses(excluded) {
    const processes = new Map();
    for (const entry of fs.readdirSync('/proc')) {
        if (!/^\d+$/.test(entry)) continue;
        try {
            const stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
            const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
            const cmdline = fs.readFileSync(`/proc/${entry}/cmdline`, 'utf8');
            const type = cmdline.match(/--type=([\w-]+)/)?.[1] ?? 'browser';
            const utility = cmdline.match(/--utility-sub-type=(\w+)/)?.[1];
            processes.set(Number(entry), {
                parent: Number(fields[1]), kind: utility ? `${type} ${utility}` : type,
                ticks: Number(fields[11]) + Number(fields[12]) + Number(fields[13]) + Number(fields[14]),
            });
        } catch {
            // It ended while being read.
        }
    }
    const mine = new Map();
    const isMine = (pid) => {
        for (let p = pid; p > 1; p = processes.get(p)?.parent ?? 0) {
            if (p === excluded) return false;
            if (p === process.pid) return pid !== process.pid;
        }
        return false;
    };
    for (const [pid, info] of processes) if (isMine(pid)) mine.set(pid, info);
    return mine;
}

// Ticks the whole machine has been busy, in every process.
function machineBusyTicks() {
    const [, user, nice, system, , , irq, softirq, steal] = fs.readFileSync('/proc/stat', 'utf8').split('\n')[0].split(/\s+/).map(Number);
    return user + nice + system + irq + softirq + steal;
}

const othersRunStress = () => fs.readdirSync('/proc').some((entry) => {
    try {
        return /^\d+$/.test(entry) && fs.readFileSync(`/proc/${entry}/comm`, 'utf8').startsWith('stress-ng');
    } catch {
        return false;
    }
});

// Waits until the rest of the machine is quiet: no stress-ng, and less than `cores` of processor
// time used over ten seconds while no browser of this benchmark runs.
async function waitForQuiet(cores) {
    for (let waited = 0; ; waited += 10) {
        const start = machineBusyTicks();
        await sleep(10_000);
        const used = (machineBusyTicks() - start) / TICKS_PER_SECOND / 10;
        if (used < cores && !othersRunStress()) return waited;
        if (waited % 300 === 0) console.error(`waiting for a quiet machine: others use ${used.toFixed(2)} cores${othersRunStress() ? ', stress-ng runs' : ''}`);
    }
}

function ticksByKind(processes) {
    const kinds = {};
    for (const { kind, ticks } of processes.values()) kinds[kind] = (kinds[kind] ?? 0) + ticks;
    return kinds;
}

// ---- One page ---------------------------------------------------------------------------------

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

function countFrames() {
    window.benchFrames = 0;
    const count = () => {
        ++window.benchFrames;
        requestAnimationFrame(count);
    };
    requestAnimationFrame(count);
}

async function measurePage(variant, base, options, server) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'banner-cost-'));
    const context = await chromium.launchPersistentContext(profile, {
        executablePath: CHROMIUM,
        headless: true,
        viewport: { width: 800, height: 600 },
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
               '--disable-background-networking', '--disable-component-update', '--disable-sync',
               '--host-resolver-rules=MAP * ~NOTFOUND , EXCLUDE 127.0.0.1'],
    });
    try {
        const page = context.pages()[0] ?? await context.newPage();
        if (variant.ruffle) await page.addInitScript(countFrames);
        const files = new Set();
        page.on('request', (request) => {
            const match = request.url().match(/mytext\d\.txt$/);
            if (match) files.add(match[0]);
        });
        let renderer = variant.ruffle ? 'none reported' : 'none';
        page.on('console', (message) => {
            const used = message.text().match(/Used renderer: ([\w-]+)/);
            if (used) renderer = used[1];
        });
        await page.goto(`${base}/${variant.folder}/${variant.file}`);
        if (options.smoke && variant.ruffle) {
            await page.waitForFunction(() => document.querySelector('ruffle-object, ruffle-embed')?.ruffle?.()?.isPlaying,
                                       null, { timeout: 30_000 });
        }
        await sleep(options.settle * 1000);
        const frames = async () => (variant.ruffle ? page.evaluate(() => window.benchFrames) : 0);
        const before = { at: Date.now(), processes: browserProcesses(server.pid), frames: await frames(), busy: machineBusyTicks() };
        await sleep(options.seconds * 1000);
        const after = { at: Date.now(), processes: browserProcesses(server.pid), frames: await frames(), busy: machineBusyTicks(),
                        stress: othersRunStress() };
        const overlays = variant.ruffle ? await page.evaluate(ruffleOverlaysShown) : [];
        const minutes = (after.at - before.at) / 60_000;
        const kindsBefore = ticksByKind(before.processes);
        const kinds = Object.fromEntries(Object.entries(ticksByKind(after.processes)).map(
            ([kind, ticks]) => [kind, (ticks - (kindsBefore[kind] ?? 0)) / TICKS_PER_SECOND / minutes]));
        const cpu = Object.values(kinds).reduce((sum, value) => sum + value, 0);
        // What the rest of the machine used meanwhile (this process and the server included).
        const others = (after.busy - before.busy) / TICKS_PER_SECOND / minutes - cpu;
        return { cpu, kinds, others, stress: after.stress, fps: (after.frames - before.frames) / (minutes * 60), renderer,
                 files: [...files].sort(), overlays };
    } finally {
        await context.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
}

// ---- Figures ----------------------------------------------------------------------------------

const median = (values) => {
    const sorted = values.filter(Number.isFinite).sort((a, b) => a - b);
    if (sorted.length === 0) return NaN;
    const middle = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

const floorOf = (name) => (name.endsWith(', canvas') ? 'floor, canvas' : 'floor');

function summarize(variants, rounds) {
    const rows = [];
    for (const { name } of variants) {
        const runs = rounds.map((round) => round[name]).filter(Boolean);
        const ratios = rounds.map((round) => round[name] && round[floorOf(name)] && round[name].cpu / round[floorOf(name)].cpu);
        const gpu = runs.map(({ kinds }) => kinds['gpu-process'] ?? 0);
        rows.push({ name, cpu: median(runs.map((run) => run.cpu)), gpu: median(gpu), ratio: median(ratios),
                    fps: median(runs.map((run) => run.fps)), renderer: runs[0]?.renderer ?? '' });
    }
    return rows;
}

function table(rows) {
    const lines = ['| Page | CPU s/min | of which GPU process | Against the floor (same renderer) | Page frames/s | Renderer |',
                   '|---|---|---|---|---|---|'];
    for (const row of rows) {
        const ratio = Number.isFinite(row.ratio) ? `${row.ratio.toFixed(2)}x` : '';
        const fps = row.renderer === 'none' ? '' : row.fps.toFixed(0);
        lines.push(`| ${row.name} | ${row.cpu.toFixed(1)} | ${row.gpu.toFixed(1)} | ${ratio} | ${fps} | ${row.renderer} |`);
    }
    return lines.join('\n');
}

// ---- Main -------------------------------------------------------------------------------------

async function main() {
    const options = parseOptions(process.argv.slice(2));
    fs.mkdirSync(options.output, { recursive: true });
    const { site, variants } = prepareSite(options);
    const { server, port } = startServer(site);
    const base = `http://127.0.0.1:${await port}`;
    const rounds = [];
    const problems = [];
    try {
        for (let round = 0; round < options.rounds; ++round) {
            const results = {};
            for (let i = 0; i < variants.length; ++i) {
                const variant = variants[(i + round) % variants.length];
                if (options.quiet) await waitForQuiet(options.quiet);
                const result = await measurePage(variant, base, options, server);
                results[variant.name] = result;
                console.error(`round ${round + 1} ${variant.name}: ${result.cpu.toFixed(1)} s/min (others ${result.others.toFixed(1)}), ${result.fps.toFixed(0)} frames/s, ` +
                              `${result.renderer}, ${JSON.stringify(result.kinds, (key, value) => (typeof value === 'number' ? Number(value.toFixed(2)) : value))}`);
                if (result.overlays.length > 0) problems.push(`${variant.name}: Ruffle showed ${result.overlays.join(', ')}`);
                if (variant.folder.startsWith('banner') && !result.files.includes('mytext1.txt')) {
                    problems.push(`${variant.name}: the banner never asked for mytext1.txt`);
                }
                if (variant.ruffle && !(result.fps > 0)) problems.push(`${variant.name}: the page drew no frames`);
            }
            rounds.push(results);
        }
    } finally {
        server.kill();
    }
    fs.writeFileSync(path.join(options.output, 'rounds.json'), JSON.stringify({ options, rounds }, null, 1));
    const others = rounds.flatMap((round) => Object.values(round).map((run) => run.others));
    const stressed = rounds.flatMap((round) => Object.entries(round).filter(([, run]) => run.stress).map(([name]) => name));
    console.log(`${options.rounds} rounds of ${options.seconds} s after ${options.settle} s, interleaved; medians, ratios within ` +
                `each round; the rest of the machine used ${median(others).toFixed(1)} CPU s/min in the median page, ` +
                `${Math.max(...others).toFixed(1)} at most${stressed.length ? `; stress-ng ran during ${stressed.join(', ')}` : ''}`);
    console.log(table(summarize(variants, rounds)));
    if (problems.length > 0) {
        console.error(`FAIL:\n  ${problems.join('\n  ')}`);
        process.exit(1);
    }
}

main().catch((error) => {
    console.error(`FAIL: ${error.stack}`);
    process.exit(1);
});
