// A static web server on 127.0.0.1 for a folder of pages, on a port the system picks; the browser
// check and the banner benchmark both serve their packages through it.
import { spawn } from 'node:child_process';

// Returns the server and a promise of its port, which rejects with `failure(text)` when the server
// ends before it listens.
export function startServer(site, failure = (text) => new Error(text)) {
    const server = spawn('python3', ['-u', '-m', 'http.server', '--bind', '127.0.0.1', '0'],
                         { cwd: site, stdio: ['ignore', 'pipe', 'ignore'] });
    process.on('exit', () => server.kill());  // also when a time limit ends the process
    const port = new Promise((resolve, reject) => {
        let seen = '';
        server.stdout.on('data', (chunk) => {
            seen += chunk;
            const match = seen.match(/port (\d+)/);
            if (match) resolve(Number(match[1]));
        });
        server.on('exit', () => reject(failure('the local web server did not start')));
    });
    return { server, port };
}
