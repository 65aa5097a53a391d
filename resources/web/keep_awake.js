// KeepAwake: holds a screen wake lock while practice asks for it, where the browser offers one.
let lock = null;

export async function command(m) {
  try {
    if (m.on && !lock && navigator.wakeLock) lock = await navigator.wakeLock.request('screen');
    if (!m.on && lock) { await lock.release(); lock = null; }
  } catch { lock = null; }
}
