function sortableTables() {
  document.querySelectorAll('table.sortable').forEach(function (table) {
    var heads = table.tHead.rows[0].cells;
    Array.prototype.forEach.call(heads, function (th, column) {
      th.addEventListener('click', function () {
        var ascending = th.getAttribute('aria-sort') !== 'ascending';
        Array.prototype.forEach.call(heads, function (h) { h.removeAttribute('aria-sort'); });
        th.setAttribute('aria-sort', ascending ? 'ascending' : 'descending');
        var numeric = th.dataset.type === 'number';
        var body = table.tBodies[0];
        var rows = Array.prototype.slice.call(body.rows);
        rows.sort(function (a, b) {
          var x = a.cells[column], y = b.cells[column];
          var order = numeric ? Number(x.dataset.value) - Number(y.dataset.value)
                              : x.textContent.localeCompare(y.textContent, undefined, {numeric: true});
          return ascending ? order : -order;
        });
        rows.forEach(function (row) { body.appendChild(row); });
      });
    });
  });
}
