// The analyses below the result, one section at a time. Both functions here run as they
// are in the page and, turned back into source text, in the worker: they use nothing but
// their arguments.

// A job: {inputs, spell, sections: [names], step, setups: [inputs], sort: {column, descending}, filters,
// others: [spell], range, series, width, withTable, lists: [before, after] ({bytes, name, form}), pairs: [{name,
// inputs}]}; yields [section, what the core gave].
export function* analysesOf(vyr, job) {
  const { inputs, spell } = job;
  const compute = {
    explication: () => vyr.explain(inputs, spell),
    poids: () => vyr.weights(inputs, spell, job.step),
    ecarts: () => vyr.diffMany(job.setups, spell),
    comparaison: () => vyr.compareFiltered(inputs, job.sort.column, job.sort.descending, job.filters.only,
      job.filters.effect),
    courbe: () => vyr.chart(inputs, [spell, ...job.others], job.range, job.series, job.width, job.withTable),
    changements: () => ({ records: vyr.listChanges(...job.lists), pairs: job.pairs.map(p => p.name),
      figures: vyr.changedFigures(...job.lists, job.pairs.map(p => p.inputs)) }),
  };
  for (const section of job.sections) yield [section, compute[section]()];
}

// The worker's side: its own copy of the core, the sample list, then the player's list when
// one is posted ({list: bytes, form}: read as the page read it). A job's sections go back one
// message each; between two, a newer job or {cancel: true} stops it. {id, done: true} closes
// every job.
export function serve(analysesOf) {
  let latest = 0;
  const ready = createVyr().then(vyr => (vyr.load(vyr.sample(), '', 'scrambled'), vyr));
  onmessage = async ({ data }) => {
    const vyr = await ready;
    if (ArrayBuffer.isView(data.list)) {  // a job's list is the list's version, a number
      vyr.load(data.list, '', data.form);
      return;
    }
    if (data.cancel) {
      latest = 0;
      return;
    }
    latest = data.id;
    for (const [section, result] of analysesOf(vyr, data)) {
      postMessage({ id: data.id, section, result });
      await new Promise(resolve => setTimeout(resolve));
      if (latest !== data.id) break;
    }
    postMessage({ id: data.id, done: true });
  };
}
