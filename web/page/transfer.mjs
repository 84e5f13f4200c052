// Runs the core's procedures on a port object; see web/README.md for the
// port's four calls. One transfer at a time, as on the desktop. While one
// runs, nothing else may call into the module: the suspended engine keeps
// its state there, and another call would overwrite it.
export const Procedure = Object.freeze({ Read: 0, Write: 1, Verify: 2, Backup: 3, Restore: 4 });

// Resolves with the plan's report: {succeeded, messages: [{kind, text,
// detail}], differences: [...]}. onProgress(label, blocksDone) follows it.
// A second transfer while one runs does not start: busy, and nothing to
// say, as a window knows why.
export async function runProcedure(core, plan, port, procedure, { imageName = '', onProgress = null } = {}) {
  if (core.zkPort)
    return { succeeded: false, busy: true, messages: [], differences: [] };
  core.zkPort = port;
  core.zkProgress = onProgress;
  try {
    await core.ccall('zk_run_procedure', 'number', ['number', 'number', 'string'],
                     [plan.address(), procedure, imageName], { async: true });
  } finally {
    core.zkPort = null;
    core.zkProgress = null;
  }
  return plan.lastReport();
}
