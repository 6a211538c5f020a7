// How long a click on the phone takes to show, as the page itself measures it (shared by
// the browser test and bench/serve): clicks at one point of the screen, each once the
// last one's frame is shown, and reads the page's own marks for each tap.

function median(values) {
  const sorted = values.filter((value) => typeof value === 'number').sort((a, b) => a - b);
  return sorted.length ? sorted[Math.floor(sorted.length / 2)] : NaN;
}

// Resolves once the page shows a frame newer than `shown`. Told by the page's own change
// of the frame number, not by polling it every animation frame, which would keep the
// browser drawing (and the processor busy) while the click is being timed.
function frameAfter(page, shown, timeoutMs = 10000) {
  const arrived = page.evaluate((n) => new Promise((resolve) => {
    const screen = document.querySelector('#screen');
    const observer = new MutationObserver(() => check());
    const check = () => {
      if (window.lumetrixTimings().frameShown > n) {
        observer.disconnect();
        resolve();
      }
    };
    observer.observe(screen, { attributes: true, attributeFilter: ['data-frame'] });
    check();
  }), shown);
  let timer;
  const late = new Promise((resolve, reject) => {
    timer = setTimeout(() => reject(new Error(`no frame after ${shown} within ${timeoutMs} ms of a click`)), timeoutMs);
  });
  return Promise.race([arrived, late]).finally(() => clearTimeout(timer));
}

// Clicks `clicks` times at (x, y) in the phone's points (the screen `pointsWide` points
// wide) and gives {clickToFrame (ms, one a click), median, max, stages, summary}.
export async function clickToFrameInPage(page, pointsWide, x, y, clicks) {
  const box = await (await page.$('#screen')).boundingBox();
  const scale = box.width / pointsWide;
  const at = { x: box.x + x * scale, y: box.y + y * scale };
  const before = (await page.evaluate(() => window.lumetrixTimings())).clickToFrame.length;
  for (let i = 0; i < clicks; ++i) {
    const shown = await page.evaluate(() => window.lumetrixTimings().frameShown);
    // Waiting starts before the click, so nothing more goes to the page while it is timed.
    await Promise.all([frameAfter(page, shown), page.mouse.click(at.x, at.y)]);
    // A pause as between a user's clicks, and for the page to settle.
    await new Promise((resolve) => setTimeout(resolve, 150));
  }
  const timings = await page.evaluate(() => window.lumetrixTimings());
  const clickToFrame = timings.clickToFrame.slice(before);
  const stages = (timings.tapStages || []).slice(before); // an older page keeps no marks
  const stage = (name) => median(stages.map((marks) => marks[name]));
  const result = {
    clickToFrame,
    median: median(clickToFrame),
    max: Math.max(...clickToFrame),
    stages: { answered: stage('answered'), arrived: stage('arrived'), decoded: stage('decoded'), drawn: stage('drawn') },
  };
  result.summary = `click to frame shown in the page: median ${result.median.toFixed(1)} ms, max ${result.max.toFixed(1)} ms `
    + `(${clickToFrame.length} clicks)`;
  // The page's marks, medians in ms after the click: when the frame's event came, when its
  // image was ready to draw, when it was drawn, and when the tap's POST was answered.
  if (stages.length) {
    result.summary += `; frame event ${result.stages.arrived.toFixed(1)} ms, decoded ${result.stages.decoded.toFixed(1)} ms, `
      + `drawn ${result.stages.drawn.toFixed(1)} ms, the tap answered ${result.stages.answered.toFixed(1)} ms`;
  }
  return result;
}
